import QtQuick
import Orva.Design

// The three-page onboarding overlay. Its only way out is finished(), sent by
// the last page's start action; the root view then closes it.
Item {
    id: root
    signal finished()
}
