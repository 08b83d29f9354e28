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

    // Each of the two drawn lines shows the entry of `texts` at its own
    // index, so a change of the list reaches both at once. On each change
    // of `currentIndex` the line out of sight takes the new index and slides
    // in while the other one, keeping its index, slides out.
    property bool _aIsCurrent: true
    property int _indexA: 0
    property int _indexB: 0
    onCurrentIndexChanged: {
        const incoming = _aIsCurrent ? lineB : lineA
        const outgoing = _aIsCurrent ? lineA : lineB
        if (_aIsCurrent)
            _indexB = currentIndex
        else
            _indexA = currentIndex
        _aIsCurrent = !_aIsCurrent
        swap.stop()
        inY.target = incoming; inOpacity.target = incoming
        outY.target = outgoing; outOpacity.target = outgoing
        swap.start()
    }

    Timer {
        id: ticker
        interval: Math.max(1, root.interval * 1000)
        repeat: true
        // Only while on screen: a hidden list does not change lines.
        running: root.visible && root.texts !== undefined && root.texts !== null && root.texts.length >= 2
        onTriggered: root.advance()
    }

    Text {
        id: lineA
        width: root.width
        text: ComponentRules.rotatingLine(root.texts, root._indexA)
        textFormat: Text.PlainText
        font: root.font
        color: root.foregroundColor
        elide: Text.ElideRight
    }
    Text {
        id: lineB
        width: root.width
        opacity: 0
        text: ComponentRules.rotatingLine(root.texts, root._indexB)
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
