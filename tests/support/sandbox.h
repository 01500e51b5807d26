#pragma once

#include <QDir>
#include <QTemporaryDir>

namespace kestrane::testing {

// A fresh temporary folder that serves as the application folder and the working directory
// while the sandbox lives. Names are taken as windowing/file_names.h decodes them.
class Sandbox {
public:
    Sandbox();
    ~Sandbox();

    QString path() const { return folder_.path(); }
    QString file(const QString& name) const { return folder_.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir folder_;
    QString previousDirectory_;
};

}  // namespace kestrane::testing
