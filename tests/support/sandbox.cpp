#include "tests/support/sandbox.h"

#include <QFile>

#include "workspace/application_folder.h"

namespace kestrane::testing {

Sandbox::Sandbox() : previousDirectory_(QDir::currentPath()) {
    setApplicationFolder(folder_.path());
    QDir::setCurrent(folder_.path());
}

Sandbox::~Sandbox() {
    QDir::setCurrent(previousDirectory_);
    setApplicationFolder({});
}

void Sandbox::write(const QString& name, const QByteArray& bytes) const {
    QFile out(file(name));
    if (out.open(QIODevice::WriteOnly)) {
        out.write(bytes);
    }
}

QByteArray Sandbox::read(const QString& name) const {
    QFile in(file(name));
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

}  // namespace kestrane::testing
