import QtQuick
import Orva.Design

// The task's modified files under their count; shown also when there are none.
InfoSectionView {
    id: root
    property var files: []

    title: "총 " + root.files.length + "개의 파일이 수정 또는 생성되었어요"
    items: [root.files.join("\n")]
    accentColor: Colors.indigo
}
