#include "workspace/picture_decoder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>

#include "tests/support/picture_files.h"
#include "tests/support/sandbox.h"

namespace kestrane {
namespace {

constexpr QRgb kBackground = qRgb(0x12, 0x34, 0x56);

// The working directory while the tests run, so file names serve as paths.
const testing::Sandbox sandbox;

std::optional<QImage> decode(const QString& name) {
    return decodePictureForCanvas(sandbox.file(name), QSize(512, 512), QColor(kBackground));
}

// The canvas as it should look: the background with `picture` over its top-left corner.
QImage onBackground(const QImage& picture) {
    QImage canvas(512, 512, QImage::Format_RGB32);
    canvas.fill(kBackground);
    QPainter(&canvas).drawImage(0, 0, picture);
    return canvas;
}

QString jpegFile(int width, int height) {
    const QString name = QString("%1x%2.jpg").arg(width).arg(height);
    return testing::writeJpeg(name, width, height, 95) ? name : QString();
}

QImage gifPicture() { return QImage(jpegFile(640, 480)).convertToFormat(QImage::Format_Indexed8); }

QString gifFile() { return testing::writeGif("640x480.gif", gifPicture()) ? "640x480.gif" : ""; }

TEST(PictureDecoder, ShowsThePictureTopLeftOnTheBackground) {
    // JPEGs as Qt decodes them; the huge one, which Qt refuses, starts with the same blocks as
    // the 1024 x 1024 one.
    const std::pair<QString, QImage> pictures[] = {
        {jpegFile(640, 480), QImage("640x480.jpg")},
        {jpegFile(1024, 1024), QImage("1024x1024.jpg")},
        {jpegFile(20000, 20000), QImage("1024x1024.jpg")},
        {gifFile(), gifPicture()},
    };
    for (const auto& [name, picture] : pictures) {
        EXPECT_EQ(decode(name), onBackground(picture)) << name.toStdString();
    }
}

TEST(PictureDecoder, RefusesFilesItCannotShowWhole) {
    const QByteArray jpeg = sandbox.read(jpegFile(640, 480));
    const QByteArray gif = sandbox.read(gifFile());
    ASSERT_TRUE(QDir().mkpath("folder.jpg"));
    // Writing fails on the folder and into the missing one.
    const std::pair<QString, QByteArray> files[] = {
        {"zeroBytes.jpg", ""},
        {"text.jpg", "This is not a picture.\r\n"},
        {"jpegCutInVisibleRows.jpg", jpeg.first(jpeg.size() * 6 / 10)},
        {"gifCut.gif", gif.first(gif.size() / 2)},
        {"jpegStrayEndInScan.jpg", QByteArray(jpeg).replace(jpeg.size() / 2, 2, "\xFF\xD9")},
        {"folder.jpg", "ignored"},
        {"missingFolder/missing.jpg", "ignored"},
    };
    for (const auto& [name, bytes] : files) {
        sandbox.write(name, bytes);
        EXPECT_FALSE(decode(name).has_value()) << name.toStdString();
    }
}

}  // namespace
}  // namespace kestrane
