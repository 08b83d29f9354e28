import QtQuick
import Orva.Design
import Orva.Components
import Orva.Workflow
import Orva.Screens.Work

// The test step of a task: what the task is about on the left, its
// checklist on the right with a works and a fails box per item, and a button
// that types an approval or a fix request into the work terminal. The task is
// copied once when the popup opens; later selections and plan reloads do not
// reach it. The card scrolls with its indicator shown, and makes only the
// checklist rows in sight, however long the checklist; the close button has
// a band of its own at the top, which nothing scrolls under. It holds the
// keyboard while open: Escape closes it, sending nothing; Tab and Shift+Tab
// go round its controls (TaskPopupKeys: "Xcode 열기", "다 잘 작동해요", each
// row's boxes, the explanation, the submit button, the close button), each
// brought into view as it gets the keyboard; Return and Space press the one
// that has it.
ModalOverlay {
    id: root
    // The task to test (a TaskItem value); only the first value is taken.
    property var task
    property WorkViewModel viewModel
    readonly property TaskDetailVerdict verdict: verdict
    readonly property var shownTask: verdict.task
    // The parts the list makes at its top and at its end.
    property var headerPart: null
    property var footerPart: null
    readonly property Item explanationField: root.footerPart ? root.footerPart.explanationField : null
    readonly property Item explanationBox: root.footerPart ? root.footerPart.explanationBox : null
    readonly property Item submitButton: root.footerPart ? root.footerPart.submitButton : null
    readonly property alias closeButton: closeButton
    readonly property Item masterBox: root.headerPart ? root.headerPart.masterBox : null
    readonly property Item xcodeButton: root.headerPart ? root.headerPart.xcodeButton : null
    readonly property alias card: card
    readonly property alias closeBand: closeBand
    readonly property alias scroller: scroller
    readonly property alias scrollIndicator: scrollIndicator
    // The checklist rows made so far: count, and itemAt(i) for row i while
    // it is made.
    readonly property QtObject rows: QtObject {
        readonly property int count: scroller.count
        function itemAt(i: int): Item {
            const slot = scroller.itemAtIndex(i)
            if (!slot)
                return null
            for (let k = 0; k < slot.children.length; ++k) {
                if (slot.children[k].objectName === "checklistRow")
                    return slot.children[k]
            }
            return null
        }
    }

    signal dismissed()

    // The dimmer: no action, but nothing reaches what lies under it.
    dim: Qt.rgba(0, 0, 0, 0.5)
    onDismissRequested: root.dismissed()
    onTabPressed: forward => root.moveFocus(forward)

    TaskDetailVerdict {
        id: verdict
        task: root.task
        onDismissRequested: root.dismissed()
    }

    TaskPopupKeys {
        id: keys
        verdict: verdict
    }

    // The stop that had the keyboard last; a row scrolled out of sight is
    // gone with its boxes, and Tab goes on from its place.
    property int focusedStop: TaskPopupKeys.None
    property int focusedRow: -1
    function stopHolding(item: Item): Item {
        for (let p = item; p !== null && p !== root; p = p.parent) {
            if (p.popupStop !== undefined)
                return p
        }
        return null
    }
    Window.onActiveFocusItemChanged: {
        const stop = root.stopHolding(root.Window.activeFocusItem)
        if (!stop)
            return
        root.focusedStop = stop.popupStop
        root.focusedRow = stop.popupRow !== undefined ? stop.popupRow : -1
        root.reveal(stop)
    }
    function moveFocus(forward: bool) {
        root.focusStop(keys.nextStop(root.focusedStop, root.focusedRow, forward),
                       keys.nextRow(root.focusedStop, root.focusedRow, forward),
                       forward ? Qt.TabFocusReason : Qt.BacktabFocusReason)
    }
    // Gives the stop the keyboard, made and brought into view first.
    function focusStop(stop: int, row: int, reason: int) {
        let target = null
        if (stop === TaskPopupKeys.Works || stop === TaskPopupKeys.Fails) {
            scroller.positionViewAtIndex(row, ListView.Contain)
            const made = root.rows.itemAt(row)
            target = made ? (stop === TaskPopupKeys.Works ? made.worksBox : made.failsBox) : null
        } else if (stop === TaskPopupKeys.Xcode || stop === TaskPopupKeys.Master) {
            target = stop === TaskPopupKeys.Xcode ? root.xcodeButton : root.masterBox
            if (target && !root.inView(target))
                scroller.positionViewAtBeginning()
        } else if (stop === TaskPopupKeys.Explanation || stop === TaskPopupKeys.Submit) {
            target = stop === TaskPopupKeys.Explanation ? root.explanationField : root.submitButton
            if (target && !root.inView(target))
                scroller.positionViewAtEnd()
        } else if (stop === TaskPopupKeys.Close) {
            target = closeButton
        }
        if (!target)
            return
        root.focusedStop = stop
        root.focusedRow = row
        target.forceActiveFocus(reason)
        root.reveal(target)
    }
    // Whether all of the item, with its ring, is in the card's scroll area
    // (always, for what is not in it).
    function inView(item: Item): bool {
        if (!ViewRules.isWithin(item, scroller))
            return true
        const at = item.mapToItem(scroller, 0, -root.ringMargin)
        return at.y >= 0 && at.y + item.height + 2 * root.ringMargin <= scroller.height
    }
    readonly property real ringMargin: 8
    function reveal(item: Item) {
        if (!ViewRules.isWithin(item, scroller))
            return
        const origin = scroller.originY
        const top = scroller.contentY + item.mapToItem(scroller, 0, 0).y - origin
        const target = ViewRules.revealOffset(scroller.contentY - origin, scroller.height, top, top + item.height,
                                              scroller.contentHeight, root.ringMargin) + origin
        if (Math.abs(target - scroller.contentY) >= 0.5)
            scroller.contentY = target
    }

    // The columns: the left one 36 in, the divider in the middle, the right
    // one 29 after it and 36 from the edge.
    readonly property real columnWidth: (scroller.width - 1) / 2
    readonly property real rightX: root.columnWidth + 1 + 29
    readonly property real rightWidth: root.columnWidth - 29 - 36

    // The top of the card's content: the task on the left (it may reach
    // beside the rows, and below them), the checklist's heading on the right.
    component PopupHeader: Item {
        id: header
        readonly property alias leftColumn: left
        readonly property alias masterBox: masterBox
        readonly property alias xcodeButton: xcodeButton
        width: scroller.width
        height: verdict.count > 0 ? right.height : left.height
        Component.onCompleted: root.headerPart = header
        Component.onDestruction: if (root.headerPart === header) root.headerPart = null

        Column {
            id: left
            x: 36
            y: 0
            width: root.columnWidth - 36
            spacing: 0
            ShapeStroke {
                width: 20
                height: 20
                shapeName: "detail"
                strokeColor: Colors.white20
                strokeWidth: 2
                progress: 1
            }
            Item { width: 1; height: Spacing.s40 }
            Text {
                objectName: "taskTitle"
                width: parent.width
                bottomPadding: 26
                text: root.shownTask ? ViewRules.title(root.shownTask.titleUx) : ""
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                maximumLineCount: 4
                elide: Text.ElideRight
                font.family: Fonts.body.family
                font.pixelSize: 17
                font.bold: true
                color: Colors.textPrimary
            }
            Column {
                spacing: Spacing.s20
                DescriptionUxView {
                    description: root.shownTask ? root.shownTask.detail.descriptionUx : undefined
                }
                ModifiedFilesView {
                    objectName: "modifiedFiles"
                    files: root.shownTask ? root.shownTask.detail.modifiedFiles : []
                }
            }
        }

        Rectangle {
            x: root.columnWidth
            width: 1
            height: header.height
            color: Colors.white10
        }

        Column {
            id: right
            objectName: "checklistGroup"
            x: root.rightX
            y: 0
            width: root.rightWidth
            visible: verdict.count > 0
            spacing: 0

            ShapeStroke {
                width: 24
                height: 24
                shapeName: "check"
                strokeColor: Colors.white20
                strokeWidth: 2
                progress: 1
            }
            Item { width: 1; height: Spacing.s40 }
            Item {
                width: parent.width
                height: Math.max(checkHeading.implicitHeight, xcodeButton.height)
                Text {
                    id: checkHeading
                    anchors.left: parent.left
                    anchors.verticalCenter: parent.verticalCenter
                    text: "아래 항목들을 확인해 보세요"
                    font.family: Fonts.body.family
                    font.pixelSize: 17
                    font.bold: true
                    color: Colors.textPrimary
                }
                Item {
                    id: xcodeButton
                    objectName: "xcodeButton"
                    readonly property int popupStop: TaskPopupKeys.Xcode
                    readonly property bool keyboardControl: true
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    width: xcodeLabel.implicitWidth + 12
                    height: xcodeLabel.implicitHeight + 4
                    Accessible.role: Accessible.Button
                    Accessible.name: "Xcode 열기"
                    Keys.onPressed: event => {
                        if (ViewRules.isPressKey(event.key, event.modifiers)) {
                            event.accepted = true
                            verdict.openXcode(root.viewModel)
                        }
                    }
                    FocusRing {
                        shown: xcodeButton.activeFocus
                        controlRadius: CornerRadius.r4
                    }
                    SmoothRect {
                        anchors.fill: parent
                        radius: CornerRadius.r4
                        color: Colors.blue
                    }
                    Text {
                        id: xcodeLabel
                        anchors.centerIn: parent
                        text: "Xcode 열기"
                        font.family: Fonts.body.family
                        font.pixelSize: 11
                        font.weight: Font.DemiBold
                        // Black on the blue: white on it reads at 3.6:1 only.
                        color: Colors.black
                    }
                    MouseArea {
                        anchors.fill: parent
                        cursorShape: Qt.PointingHandCursor
                        onClicked: verdict.openXcode(root.viewModel)
                    }
                }
            }
            Item { width: 1; height: 26 }
            Item {
                width: parent.width
                height: masterRow.height + Spacing.s12
                Row {
                    id: masterRow
                    anchors.right: parent.right
                    anchors.rightMargin: Padding.p4
                    spacing: 7
                    CheckBoxButton {
                        id: masterBox
                        objectName: "masterBox"
                        readonly property int popupStop: TaskPopupKeys.Master
                        anchors.verticalCenter: parent.verticalCenter
                        isChecked: verdict.isChecked
                        size: 16
                        cornerRadius: CornerRadius.r4
                        offColor: Qt.rgba(Colors.green.r, Colors.green.g, Colors.green.b, 0.4)
                        disabledColor: Colors.white10
                        onToggled: checked => verdict.isChecked = checked
                    }
                    // "onColor" reads as a handler name in a binding: set it here.
                    Binding { target: masterBox; property: "onColor"; value: Colors.green }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: "다 잘 작동해요"
                        font.family: Fonts.body.family
                        font.pixelSize: Fonts.body.pixelSize
                        font.bold: true
                        // The readable grey: 0.4 white reads at 3.7:1 only.
                        color: Colors.gray
                    }
                }
            }
        }
    }

    // One checklist row with the divider beside it; 4 below it but the last.
    component RowSlot: Item {
        id: slot
        required property int index
        required property int number
        required property string text
        required property bool works
        required property bool fails
        required property bool disabled
        readonly property alias row: row
        width: scroller.width
        height: row.height + (slot.index < scroller.count - 1 ? Spacing.s4 : 0)

        Rectangle {
            x: root.columnWidth
            width: 1
            height: slot.height
            color: Colors.white10
        }
        ChecklistItemView {
            id: row
            objectName: "checklistRow"
            x: root.rightX
            height: implicitHeight
            row: slot.index
            number: slot.number
            text: slot.text
            isChecked: slot.works
            isXChecked: slot.fails
            isDisabled: slot.disabled
            onWorksToggled: checked => verdict.setWorks(slot.index, checked)
            onFailsToggled: checked => verdict.setFails(slot.index, checked)
        }
    }

    // The explanation (while an item fails) and the submit button, then the
    // bottom margin; tall enough to hold the rest of the left column too.
    component PopupFooter: Item {
        id: footer
        readonly property alias explanationField: explanation
        readonly property alias explanationBox: inputBox
        readonly property alias submitButton: submitButton
        readonly property var header: root.headerPart
        // Where the left column ends, in the list's content.
        readonly property real leftBottom: footer.header ? footer.header.y + footer.header.leftColumn.y + footer.header.leftColumn.height : 0
        width: scroller.width
        height: Math.max(verdict.count > 0 ? tail.height : 0, footer.leftBottom - footer.y) + 36
        Component.onCompleted: root.footerPart = footer
        Component.onDestruction: if (root.footerPart === footer) root.footerPart = null

        Rectangle {
            x: root.columnWidth
            width: 1
            height: footer.height - 36
            color: Colors.white10
        }

        Column {
            id: tail
            x: root.rightX
            width: root.rightWidth
            visible: verdict.count > 0
            spacing: 0

            Column {
                objectName: "explanationSection"
                visible: verdict.anyFail
                topPadding: Spacing.s20
                spacing: Spacing.s8
                Text {
                    leftPadding: Padding.p4
                    text: "추가 설명"
                    font.family: Fonts.body.family
                    font.pixelSize: Fonts.body.pixelSize
                    font.bold: true
                    color: Colors.gray
                }
                // The whole box takes a click: the text field fills its
                // inside, and its margins hand the click to the field.
                Item {
                    id: inputBox
                    objectName: "explanationBox"
                    width: 335
                    readonly property real lineHeight: Math.ceil(Fonts.body.pixelSize * 1.45)
                    height: Math.min(10, Math.max(3, explanation.lineCount)) * lineHeight + 12 + 36
                    clip: true
                    SmoothRect {
                        anchors.fill: parent
                        radius: CornerRadius.r8
                        color: Colors.white10
                    }
                    FocusRing {
                        shown: explanation.activeFocus
                        controlRadius: CornerRadius.r8
                    }
                    MouseArea {
                        anchors.fill: parent
                        cursorShape: Qt.IBeamCursor
                        onClicked: {
                            explanation.forceActiveFocus(Qt.MouseFocusReason)
                            explanation.cursorPosition = explanation.length
                        }
                    }
                    Text {
                        objectName: "explanationPlaceholder"
                        visible: explanation.text.length === 0 && explanation.preeditText.length === 0
                        x: Padding.p12
                        y: Padding.p12
                        width: parent.width - 2 * Padding.p12
                        text: "에러 메시지를 복사해서 붙이거나 추가 설명을 입력해주세요"
                        wrapMode: Text.Wrap
                        font: Fonts.body
                        color: Colors.gray
                    }
                    Flickable {
                        id: explanationScroller
                        x: Padding.p12
                        y: Padding.p12
                        width: parent.width - 2 * Padding.p12
                        height: parent.height - 12 - 36
                        contentHeight: explanation.height
                        clip: true
                        boundsBehavior: Flickable.StopAtBounds
                        interactive: explanation.implicitHeight > height
                        TextEdit {
                            id: explanation
                            objectName: "explanationField"
                            readonly property int popupStop: TaskPopupKeys.Explanation
                            // Tab goes on round the popup, as from any other control.
                            Keys.onTabPressed: event => {
                                event.accepted = true
                                root.moveFocus(true)
                            }
                            Keys.onBacktabPressed: event => {
                                event.accepted = true
                                root.moveFocus(false)
                            }
                            width: explanationScroller.width
                            // As tall as the box's inside, so a click
                            // anywhere in it lands in the field.
                            height: Math.max(implicitHeight, explanationScroller.height)
                            wrapMode: TextEdit.Wrap
                            textFormat: TextEdit.PlainText
                            font: Fonts.body
                            color: Colors.white
                            selectByMouse: true
                            onTextChanged: verdict.additionalInput = text
                            onCursorRectangleChanged: {
                                if (cursorRectangle.y + cursorRectangle.height > explanationScroller.contentY + explanationScroller.height)
                                    explanationScroller.contentY = cursorRectangle.y + cursorRectangle.height - explanationScroller.height
                                else if (cursorRectangle.y < explanationScroller.contentY)
                                    explanationScroller.contentY = cursorRectangle.y
                            }
                        }
                    }
                }
            }
            Item {
                width: parent.width
                height: submitButton.height + Padding.p16
                TestActionButton {
                    id: submitButton
                    objectName: "submitButton"
                    readonly property int popupStop: TaskPopupKeys.Submit
                    anchors.right: parent.right
                    anchors.bottom: parent.bottom
                    title: verdict.buttonTitle
                    isEnabled: verdict.canSubmit
                    backgroundColor: verdict.anyFail ? Colors.yellow : Colors.indigo
                    // Black reads on the yellow; on the indigo only white does.
                    textColor: verdict.anyFail ? Colors.black : Colors.white
                    disabledBackgroundColor: Colors.white10
                    disabledTextColor: Colors.textSecondary
                    fontSize: Fonts.headline
                    horizontalPadding: Padding.p16
                    verticalPadding: Padding.p10
                    iconSize: 11
                    onAction: verdict.submit(root.viewModel)
                }
            }
        }
    }

    Item {
        id: card
        objectName: "popupCard"
        width: 800
        height: 600
        anchors.centerIn: parent

        SmoothRect {
            anchors.fill: parent
            radius: CornerRadius.r16
            color: Hex.color("#030303")
            borderColor: Qt.rgba(1, 1, 1, 0.1)
            borderWidth: 1
        }
        MouseArea {
            anchors.fill: parent
            onWheel: wheel => wheel.accepted = true
        }

        // The close button's band: the content scrolls below it, never under
        // the button; a line marks its edge once the content has moved.
        Item {
            id: closeBand
            objectName: "closeBand"
            x: 1
            y: 1
            width: card.width - 2
            height: 36 + 24 + Spacing.s12 - 1
            Rectangle {
                objectName: "closeBandEdge"
                anchors.bottom: parent.bottom
                width: parent.width
                height: 1
                color: Colors.white10
                visible: scroller.contentY > scroller.originY + 0.5
            }
        }

        ListView {
            id: scroller
            objectName: "popupScroller"
            x: 1
            y: closeBand.y + closeBand.height
            width: card.width - 2
            height: card.height - y - 1
            clip: true
            keyNavigationEnabled: false
            boundsBehavior: Flickable.StopAtBounds
            model: ChecklistRows {
                verdict: verdict
            }
            header: PopupHeader {}
            delegate: RowSlot {}
            footer: PopupFooter {}
        }

        ScrollTrack {
            id: scrollIndicator
            objectName: "popupScrollIndicator"
            x: card.width - 10
            y: scroller.y
            width: 4
            height: card.height - scroller.y - Padding.p16
            flickable: scroller
        }

        // Close: nothing is sent.
        Item {
            id: closeButton
            objectName: "closeButton"
            readonly property int popupStop: TaskPopupKeys.Close
            readonly property bool keyboardControl: true
            z: 1
            anchors.right: parent.right
            anchors.rightMargin: 36
            anchors.top: parent.top
            anchors.topMargin: 36
            width: 24
            height: 24
            Accessible.role: Accessible.Button
            Accessible.name: "닫기"
            Keys.onPressed: event => {
                if (ViewRules.isPressKey(event.key, event.modifiers)) {
                    event.accepted = true
                    root.dismissed()
                }
            }
            FocusRing {
                shown: closeButton.activeFocus
                controlRadius: 12
            }
            Rectangle {
                anchors.fill: parent
                anchors.topMargin: 2
                radius: 12
                color: Qt.rgba(0, 0, 0, 0.3)
            }
            Rectangle {
                anchors.fill: parent
                radius: 12
                color: Qt.rgba(0, 0, 0, 0.8)
            }
            SymbolIcon {
                anchors.centerIn: parent
                name: "xmark"
                size: 17
                color: Colors.white90
            }
            MouseArea {
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
                onClicked: root.dismissed()
            }
        }
    }
}
