// Loading a picture into the picture control, against a floor measured in the same run: the JPEG
// library's own command-line decoder (a process per file, as run) for JPEG, Qt's QImage::load for
// GIF and bitmap. Prints plain lines; timings never fail.

#include "../../tests/common/PictureSamples.h"
#include "PictureControl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

using namespace Lanvo;
using namespace PictureSamples;

namespace {

struct Sample
{
    const char *format;
    QSize size;
    int repetitions;
};

double millisecondsPerRun(int repetitions, const std::function<bool()> &run)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < repetitions; ++i)
        if (!run())
            return -1;
    return double(timer.nsecsElapsed()) / 1e6 / repetitions;
}

QByteArray encodedSample(const Sample &sample)
{
    const QImage image = colourPicture(sample.size.width(), sample.size.height());
    const QByteArray format(sample.format);
    if (format == "jpg")
        return jpegBytes(image);
    return format == "gif" ? gifBytes(image) : bmpBytes(image);
}

std::function<bool()> floorFor(const QByteArray &format, const QString &path, const QString &djpeg)
{
    if (format != "jpg")
        return [path] { return QImage().load(path); };
    return [path, djpeg] {
        QProcess process;
        process.start(djpeg, {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), path});
        return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
               && process.exitCode() == 0;
    };
}

void report(const Sample &sample, double ours, const char *floorName, double floor)
{
    std::printf("%s %dx%d, %d runs: TFEJpeg::loadFile %.3f ms, %s %.3f ms, ratio %.2f\n", sample.format,
                sample.size.width(), sample.size.height(), sample.repetitions, ours, floorName, floor,
                floor > 0 ? ours / floor : 0.0);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    if (djpeg.isEmpty())
        std::printf("djpeg not found: JPEG loads are measured without their floor\n");

    const Sample samples[] = {{"jpg", {320, 224}, 200}, {"jpg", {1920, 1080}, 30}, {"gif", {320, 224}, 200},
                              {"gif", {1920, 1080}, 20}, {"bmp", {320, 224}, 200}, {"bmp", {1920, 1080}, 30}};
    TFEJpeg control;
    for (const Sample &sample : samples) {
        const QString path = dir.filePath(QStringLiteral("%1x%2.%3")
                                              .arg(sample.size.width())
                                              .arg(sample.size.height())
                                              .arg(QLatin1String(sample.format)));
        if (!writeFile(path, encodedSample(sample))) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        const double ours = millisecondsPerRun(sample.repetitions, [&] { return control.loadFile(path); });
        const QByteArray format(sample.format);
        const bool jpeg = format == "jpg";
        const double floor = jpeg && djpeg.isEmpty()
                                 ? 0.0
                                 : millisecondsPerRun(sample.repetitions, floorFor(format, path, djpeg));
        if (ours < 0 || floor < 0) {
            std::fprintf(stderr, "a %s load failed\n", sample.format);
            return 1;
        }
        report(sample, ours, jpeg ? "djpeg" : "QImage::load", floor);
    }
    return 0;
}
