// Attention, active and completed, side by side between hairlines.
import QtQuick
import QtQuick.Layouts
import Orvel

RowLayout {
    id: counts
    required property InboxScreenModel screen
    spacing: 14

    BriefingStat {
        objectName: "attentionStat"
        value: counts.screen.attentionCount
        label: qsTr("attention")
        color: Theme.gold
    }
    Rectangle {
        implicitWidth: 0.5
        implicitHeight: 30
        color: Theme.separator
    }
    BriefingStat {
        value: counts.screen.activeCount
        label: qsTr("active")
    }
    Rectangle {
        implicitWidth: 0.5
        implicitHeight: 30
        color: Theme.separator
    }
    BriefingStat {
        value: counts.screen.completedCount
        label: qsTr("completed")
    }
}
