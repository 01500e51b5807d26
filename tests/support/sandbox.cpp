#include "tests/support/sandbox.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "windowing/file_names.h"
#include "workspace/application_folder.h"

namespace kestrane::testing {

Sandbox::Sandbox() : previousDirectory_(QDir::currentPath()) {
    setApplicationFolder(folder_.path());
    QDir::setCurrent(folder_.path());
}

Sandbox::~Sandbox() {
    QDir::setCurrent(previousDirectory_);
    setApplicationFolder({});
    // By the names' own bytes: the temporary folder leaves behind names that are not UTF-8.
    std::error_code ignored;
    std::filesystem::remove_all(encodeFileName(folder_.path()).toStdString(), ignored);
}

namespace {

using FileCloser = decltype([](std::FILE* file) { std::fclose(file); });

// By the name's own bytes, so that names that are not UTF-8 can be made and read.
std::unique_ptr<std::FILE, FileCloser> openFile(const QString& path, const char* mode) {
    return std::unique_ptr<std::FILE, FileCloser>(
        std::fopen(encodeFileName(path).constData(), mode));
}

}  // namespace

void Sandbox::write(const QString& name, const QByteArray& bytes) const {
    if (const auto out = openFile(file(name), "wb")) {
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out.get());
    }
}

QByteArray Sandbox::read(const QString& name) const {
    QByteArray bytes;
    if (const auto in = openFile(file(name), "rb")) {
        char chunk[4096];
        while (const std::size_t got = std::fread(chunk, 1, sizeof chunk, in.get())) {
            bytes.append(chunk, static_cast<qsizetype>(got));
        }
    }
    return bytes;
}

}  // namespace kestrane::testing
