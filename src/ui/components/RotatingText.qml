import QtQuick
import Orva.Design
import Orva.Components

// One line of `texts` at a time; with two lines or more the next one replaces
// it every `interval` seconds, the old line leaving upwards and the new one
// entering from below (0.3 s). The list may change while it runs: an index
// left beyond a shorter list starts again at the first line.
Item {
    id: root
    property var texts: []
    property real interval: 2
    property font font: Fonts.body
    property color foregroundColor: Colors.textPrimary
    property int currentIndex: 0
    readonly property string currentLine: ComponentRules.rotatingLine(texts, currentIndex)
    readonly property bool timerRunning: ticker.running

    function advance() {
        currentIndex = ComponentRules.rotatingNextIndex(currentIndex, texts ? texts.length : 0)
    }

    implicitWidth: Math.max(lineA.implicitWidth, lineB.implicitWidth)
    implicitHeight: lineA.implicitHeight
    clip: true

    onTextsChanged: {
        const count = texts ? texts.length : 0
        if (currentIndex >= count && currentIndex !== 0)
            currentIndex = 0
    }

    property bool _aIsCurrent: true
    onCurrentIndexChanged: {
        const incoming = _aIsCurrent ? lineB : lineA
        const outgoing = _aIsCurrent ? lineA : lineB
        incoming.text = currentLine
        _aIsCurrent = !_aIsCurrent
        swap.stop()
        inY.target = incoming; inOpacity.target = incoming
        outY.target = outgoing; outOpacity.target = outgoing
        swap.start()
    }
    onCurrentLineChanged: {
        // A change of the list at the same index shows at once.
        const current = _aIsCurrent ? lineA : lineB
        if (!swap.running)
            current.text = currentLine
    }

    Timer {
        id: ticker
        interval: Math.max(1, root.interval * 1000)
        repeat: true
        running: root.texts !== undefined && root.texts !== null && root.texts.length >= 2
        onTriggered: root.advance()
    }

    Text {
        id: lineA
        width: root.width
        text: root.currentLine
        textFormat: Text.PlainText
        font: root.font
        color: root.foregroundColor
        elide: Text.ElideRight
    }
    Text {
        id: lineB
        width: root.width
        opacity: 0
        textFormat: Text.PlainText
        font: root.font
        color: root.foregroundColor
        elide: Text.ElideRight
    }

    ParallelAnimation {
        id: swap
        NumberAnimation { id: inY; property: "y"; from: root.height; to: 0; duration: 300; easing.type: Easing.InOutQuad }
        NumberAnimation { id: inOpacity; property: "opacity"; from: 0; to: 1; duration: 300; easing.type: Easing.InOutQuad }
        NumberAnimation { id: outY; property: "y"; from: 0; to: -root.height; duration: 300; easing.type: Easing.InOutQuad }
        NumberAnimation { id: outOpacity; property: "opacity"; from: 1; to: 0; duration: 300; easing.type: Easing.InOutQuad }
    }
}
