#pragma once

#include "platform/AppContext.h"

#include <QTemporaryDir>

namespace orva::test {

// A temporary container, Documents folder, home and settings file, installed
// as the current AppContext for the lifetime of the object. The resource
// folder stays the one built beside the tests unless a test changes it.
class TempContext {
public:
    TempContext();
    ~TempContext();

    const AppContext& context() const { return context_; }
    QString root() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    AppContext previous_;
    AppContext context_;
};

// The prompt documents copied into the build tree (the same folder the
// application installs beside its executable).
QString builtResourcesPath();

} // namespace orva::test
