#pragma once

// The file dialog a test has made show (the folder panel's), or null.

#include <QApplication>
#include <QFileDialog>

namespace orva::test {

inline QFileDialog* shownFileDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    }
    return nullptr;
}

} // namespace orva::test
