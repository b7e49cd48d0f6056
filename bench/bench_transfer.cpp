// The whole program (application object, window, pages, link) driving a firmware transfer or a
// black-box download against r7-fcsim on its pseudo-terminal, started the way the pages start
// them. The times are taken on the simulator's side of the wire (its --timing-log); this program
// reports when the work is done and, for the firmware, its own turnaround: from the event loop's
// wake-up that read the answer to a chunk to the next chunk written to the port (one number in
// microseconds a line). bench/transfer runs it.
//   bench_transfer DEVICE firmware BYTES [TURNAROUND-FILE]
//   bench_transfer DEVICE blackbox
#include "app/KivApplication.h"
#include "app/KivGuiController.h"
#include "config/FirmwareCatalogueStore.h"
#include "link/seriallink.h"
#include "link/serialport.h"
#include "ui/KivMainWindow.h"
#include "ui/KivToolsWgt.h"

#include <QAbstractEventDispatcher>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
QString g_folder;

QString benchFolder(QWidget *)
{
    return g_folder;
}

void noNotice(const QString &, const QString &text)
{
    std::fprintf(stderr, "notice: %s\n", qPrintable(text));
}

void finish(int status)
{
    QTimer::singleShot(100, qApp, [status] { QCoreApplication::exit(status); });
}
} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_transfer DEVICE firmware BYTES | blackbox\n");
        return 2;
    }
    const QString device = QString::fromLocal8Bit(argv[1]);
    const QString mode = QString::fromLocal8Bit(argv[2]);
    const qint64 bytes = argc > 3 ? QByteArray(argv[3]).toLongLong() : 512 * 1024;

    KivApplication *app = KivApplication::getInstance(argc, argv);
    QElapsedTimer clock;

    // Turnaround probe: the wake-up that read the latest bytes, and the chunk written after it.
    QElapsedTimer probe;
    probe.start();
    qint64 wokeNs = 0;
    qint64 readNs = -1;
    QList<qint64> turnarounds;
    QObject::connect(QAbstractEventDispatcher::instance(),
                     &QAbstractEventDispatcher::awake,
                     app,
                     [&] { wokeNs = probe.nsecsElapsed(); });
    QObject::connect(app->serialPort(), &QIODevice::readyRead, app, [&] { readNs = wokeNs; });
    QObject::connect(
        app->serialLink(), &SerialLink::SignalSendData, app, [&](const QByteArray &frame) {
            // Connected after the port's own writer: the chunk has been handed to the device.
            const uint8_t type = frame.size() > 6 ? uint8_t(frame[6]) : 0;
            if ((type == 0xD5 || type == 0xD6) && readNs >= 0)
                turnarounds.append(probe.nsecsElapsed() - readNs);
            readNs = -1;
        });
    QObject::connect(app, &KivApplication::readBackFinished, app, [&] {
        clock.start();
        if (mode == QLatin1String("firmware")) {
            const QString path = QDir(home.path()).filePath(QStringLiteral("fcu.bin"));
            QFile image(path);
            if (!image.open(QIODevice::WriteOnly))
                return finish(1);
            QByteArray data(bytes, Qt::Uninitialized);
            for (qint64 i = 0; i < bytes; ++i)
                data[i] = char((i * 131 + (i >> 9) * 7) & 0xFF);
            image.write(data);
            image.close();
            // What the update page would have fetched from the catalogue.
            setVersionText(QStringLiteral(R"({"FCU":{"version":"3.12"}})"));
            QObject::connect(app->serialLink(),
                             &SerialLink::SignalReturnInfo,
                             app,
                             [&](uint8_t command, QString) {
                                 if (command == 0xD6) {
                                     std::printf("firmware done %lld ms\n",
                                                 static_cast<long long>(clock.elapsed()));
                                     finish(0);
                                 }
                             });
            Q_EMIT guiController->SignalFirmwareUpdataRequest(0, path);
        } else {
            g_folder = QDir(home.path()).filePath(QStringLiteral("records"));
            QDir().mkpath(g_folder);
            KivToolsWgt::chooseBlackBoxesFolder = benchFolder;
            KivToolsWgt::showBlackBoxesNotice = noNotice;
            QObject::connect(app, &KivApplication::SignalBlackBoxesDownloadSuccess, app, [&] {
                std::printf("blackbox done %lld ms, %lld files\n",
                            static_cast<long long>(clock.elapsed()),
                            static_cast<long long>(QDir(g_folder).entryList(QDir::Files).size()));
                finish(0);
            });
            mainWindow->toolsPage()->SlotClickBlackBoxes();
        }
    });
    app->serialPort()->addExtraPortName(device);
    QTimer::singleShot(600000, app, [] {
        std::fprintf(stderr, "bench_transfer: timed out\n");
        QCoreApplication::exit(1);
    });
    const int status = app->exec();
    std::fflush(stdout);
    if (argc > 4 && mode == QLatin1String("firmware")) {
        QFile out(QString::fromLocal8Bit(argv[4]));
        if (out.open(QIODevice::WriteOnly)) {
            for (qint64 ns : std::as_const(turnarounds))
                out.write(QByteArray::number(double(ns) / 1000.0, 'f', 1) + '\n');
        }
    }
    delete app;
    return status;
}
