#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace orva {

// An error with a text a screen can show. The prompt installation throws these;
// callers catch `const WorkspaceError&` and show description().
class WorkspaceError : public std::exception {
public:
    virtual QString description() const = 0;
    const char* what() const noexcept override;

protected:
    mutable QByteArray whatText_;
};

// A file-system operation (creating a folder) that failed; carries the
// platform's reason.
class FileSystemError : public WorkspaceError {
public:
    explicit FileSystemError(QString description) : description_(std::move(description)) {}
    QString description() const override { return description_; }

private:
    QString description_;
};

} // namespace orva
