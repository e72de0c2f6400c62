// Untrusted Markdown, rendered safely by the model: images never load and only
// web links are clickable; a click opens the browser only for http(s).
import QtQuick
import Orvel

Text {
    property string markdown
    text: SafeMarkdown.render(markdown)
    textFormat: Text.RichText
    wrapMode: Text.Wrap
    color: Theme.text
    linkColor: Theme.blue
    font.pixelSize: 13
    onLinkActivated: link => SafeMarkdown.openLink(link)
}
