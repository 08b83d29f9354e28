import QtQuick
Item {
    property var sceneNames: ["placeholder"]
    function show(name) {}
}
