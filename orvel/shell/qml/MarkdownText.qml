// Untrusted Markdown, rendered safely by the model: images never load and only
// web links are clickable; a click opens the browser only for http(s).
import QtQuick

Text {
    property string markdown
    text: model.renderMarkdown(markdown)
    textFormat: Text.RichText
    wrapMode: Text.Wrap
    color: theme.text
    linkColor: theme.blue
    font.pixelSize: 13
    onLinkActivated: link => model.openLink(link)
}
