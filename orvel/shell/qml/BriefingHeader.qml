// The briefing's eyebrow (symbol and period), headline and summary.
import QtQuick
import QtQuick.Layouts
import Orvel

ColumnLayout {
    id: header
    required property InboxScreenModel screen
    spacing: 4

    RowLayout {
        spacing: 5
        SymbolImage {
            symbol: header.screen.eyebrowSymbol
            size: 11
            tint: Theme.muted
        }
        Text {
            text: header.screen.eyebrowLabel
            color: Theme.muted
            font.pixelSize: 11
            font.weight: Font.DemiBold
            font.letterSpacing: 0.7
        }
    }

    Text {
        Layout.fillWidth: true
        text: header.screen.headline
        color: Theme.text
        font.pixelSize: 21
        font.weight: Font.DemiBold
        wrapMode: Text.Wrap
        Accessible.role: Accessible.Heading
    }

    Text {
        Layout.fillWidth: true
        text: header.screen.summary
        color: Theme.muted
        font.pixelSize: 13
        wrapMode: Text.Wrap
    }
}
