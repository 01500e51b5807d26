#include "workspace/picture_decoder.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QPainter>

#include "tests/support/picture_files.h"
#include "tests/support/sandbox.h"

namespace kestrane {
namespace {

constexpr QRgb kBackground = qRgb(0x12, 0x34, 0x56);
constexpr qint64 kTwoGigabytes = 2LL << 30;

// The working directory while the tests run, so file names serve as paths.
const testing::Sandbox sandbox;

std::optional<QImage> decode(const QString& name, DecodeCost* cost = nullptr) {
    return decodePictureForCanvas(sandbox.file(name), QSize(512, 512), QColor(kBackground), cost);
}

// The canvas as it should look: the background with `picture` over its top-left corner.
QImage onBackground(const QImage& picture) {
    QImage canvas(512, 512, QImage::Format_RGB32);
    canvas.fill(kBackground);
    QPainter(&canvas).drawImage(0, 0, picture);
    return canvas;
}

// `bytes`, then a hole up to `size`.
QString file(const QString& name, const QByteArray& bytes, qint64 size = 0) {
    sandbox.write(name, bytes);
    if (size > 0) {
        QFile(name).resize(size);
    }
    return name;
}

// Each JPEG under a name of its own.
QString jpegFile(int width, int height, testing::JpegOptions options = {}) {
    static int made = 0;
    const QString name = QString("%1.jpg").arg(++made);
    return testing::writeJpeg(name, width, height, 95, options) ? name : QString();
}

QImage gifPicture() { return QImage(jpegFile(640, 480)).convertToFormat(QImage::Format_Indexed8); }

QString gifFile() { return testing::writeGif("640x480.gif", gifPicture()) ? "640x480.gif" : ""; }

// A frame 65535 rows tall of which only the rows the canvas needs are written.
QString tallGif(int width, bool interlaced) {
    const QString name = QString("%1x65535%2.gif").arg(width).arg(interlaced ? "i" : "");
    return testing::writeGif(name, testing::indexedBlocks(width, 512), {65535, interlaced, 600})
               ? name
               : QString();
}

TEST(PictureDecoder, ShowsThePictureTopLeftOnTheBackground) {
    QImage grey(16, 16, QImage::Format_RGB32);
    grey.fill(qRgb(128, 128, 128));
    // JPEGs as Qt decodes them; the huge one (of which only the first 600 rows are written)
    // starts with the same blocks as the 1024 x 1024 one.
    const QString baseline = jpegFile(640, 480),
                  progressive = jpegFile(640, 480, {.progressive = true}),
                  large = jpegFile(1024, 1024),
                  arithmetic = jpegFile(640, 480, {.arithmetic = true}),
                  arithmeticProgressive =
                      jpegFile(640, 480, {.progressive = true, .arithmetic = true});
    const std::pair<QString, QImage> pictures[] = {
        {baseline, QImage(baseline)},
        {progressive, QImage(progressive)},
        {large, QImage(large)},
        {arithmetic, QImage(arithmetic)},
        {arithmeticProgressive, QImage(arithmeticProgressive)},
        {jpegFile(20000, 20000, {.writtenRows = 600}), QImage(large)},
        {file("scanLimit.jpg", testing::progressiveJpeg(16, 16, kJpegScanLimit - 1)), grey},
        {gifFile(), gifPicture()},
        {tallGif(640, false), testing::indexedBlocks(640, 512)},
    };
    for (const auto& [name, picture] : pictures) {
        EXPECT_EQ(decode(name), onBackground(picture)) << name.toStdString();
    }
}

// Damage outside the scan data leaves the pixels whole.
TEST(PictureDecoder, OpensJpegsWithOddHeaders) {
    const QString name = jpegFile(64, 48);
    const QByteArray jpeg = sandbox.read(name);
    const qsizetype tables = jpeg.indexOf("\xFF\xDB");
    const QByteArray app1(
        "\xFF\xE1\x00\x08"
        "Exif\0\0",
        10);
    const std::pair<QString, QByteArray> files[] = {
        {"strayByteAfterStart.jpg", QByteArray(jpeg).insert(2, '\0')},
        {"strayBytesBeforeTables.jpg", QByteArray(jpeg).insert(tables, "\x01\x02\x03")},
        {"strayBytesBeforeApp1.jpg", QByteArray(jpeg).insert(tables, "\x07\x07" + app1)},
        {"truncatedApp14.jpg", QByteArray(jpeg).insert(tables, QByteArray("\xFF\xEE\x00\x06"
                                                                          "Adob",
                                                                          8))},
    };
    const std::optional<QImage> whole = decode(name);
    ASSERT_TRUE(whole.has_value());
    for (const auto& [oddName, bytes] : files) {
        EXPECT_EQ(decode(file(oddName, bytes)), whole) << oddName.toStdString();
    }
}

QByteArray qtFile(const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImage(8, 8, QImage::Format_RGB32).save(&buffer, format);
    return bytes;
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
        {"jpegWithoutItsEnd.jpg", jpeg.chopped(2)},
        {"jpegGarbageBeforeItsEnd.jpg",
         QByteArray(jpeg).insert(jpeg.size() - 2, QByteArray(100, 'x'))},
        {"jpegStrayEndInScan.jpg", QByteArray(jpeg).replace(jpeg.size() / 2, 2, "\xFF\xD9")},
        {"gifCut.gif", gif.first(gif.size() / 2)},
        {"ppm.gif", qtFile("PPM")},
        {"folder.jpg", "ignored"},
        {"missingFolder/missing.jpg", "ignored"},
    };
    for (const auto& [name, bytes] : files) {
        sandbox.write(name, bytes);
        EXPECT_FALSE(decode(name).has_value()) << name.toStdString();
    }
}

// Files made to cost as much as possible; each is refused while the cost named stays bounded.
TEST(PictureDecoder, RefusesHostileFilesWithinTheBudget) {
    const QByteArray baseline = sandbox.read(jpegFile(64, 64));
    const struct {
        QString file;
        std::int64_t DecodeCost::*cost;
        std::int64_t bound;
    } rows[] = {
        {file("scanBomb.jpg", testing::progressiveJpeg(2048, 2048, 200)), &DecodeCost::work,
         kDecodeWorkLimit},
        {file("tooManyScans.jpg", testing::progressiveJpeg(16, 16, kJpegScanLimit)),
         &DecodeCost::work, kDecodeWorkLimit},
        {file("coefficientsBeyondMemory.jpg", testing::progressiveJpeg(8192, 8192, 0)),
         &DecodeCost::memory, kDecodeMemoryLimit},
        // Refused from its header, before a row is decoded.
        {tallGif(8192, true), &DecodeCost::bytesRead, 1024},
        {file("neverEnds.xpm", "/* XPM */\nstatic char* p[] = {\n\"60000 60000 1 1\",\n",
              kTwoGigabytes),
         &DecodeCost::bytesRead, 0},
        // Fits the canvas rows, so it is read on to its end marker.
        {file("jpegBeforeAHole.jpg", baseline.chopped(2), kTwoGigabytes), &DecodeCost::bytesRead,
         kDecodeWorkLimit / kWorkPerByte},
    };
    for (const auto& [name, cost, bound] : rows) {
        DecodeCost spent;
        EXPECT_FALSE(decode(name, &spent).has_value()) << name.toStdString();
        EXPECT_LE(spent.*cost, bound) << name.toStdString();
        EXPECT_LE(spent.work, kDecodeWorkLimit) << name.toStdString();
        EXPECT_LE(spent.memory, kDecodeMemoryLimit) << name.toStdString();
    }
}

// Inputs that once made the decoder fail: each decodes, or is refused, within the budget.
TEST(PictureDecoder, DecodesFormerFailuresWithinTheBudget) {
    const QDir folder(KESTRANE_TEST_DATA "/decoder_regressions");
    for (const QString& name : folder.entryList(QDir::Files)) {
        DecodeCost spent;
        decodePictureForCanvas(folder.filePath(name), QSize(512, 512), QColor(kBackground), &spent);
        EXPECT_LE(spent.work, kDecodeWorkLimit) << name.toStdString();
        EXPECT_LE(spent.memory, kDecodeMemoryLimit) << name.toStdString();
    }
}

}  // namespace
}  // namespace kestrane
