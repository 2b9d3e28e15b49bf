// The editor run as a program, as scripts/run and other scripts run it.

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "support/ChildProcess.h"

namespace orvane {

namespace {

// A port of 127.0.0.1 that nothing listens on: taken from the system, then
// let go.
int closedPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  ::close(fd);
  return ntohs(address.sin_port);
}

}  // namespace

class EditorProgramTest : public QObject {
  Q_OBJECT

 private slots:
  // A screenshot run whose device never answers ends by itself, says why
  // and leaves no picture behind.
  void screenshotGivesUpWhenNoDeviceIsRead() {
    QTemporaryDir dir;
    const std::string shot = dir.filePath("shot.png").toStdString();
    const auto result = ChildProcess::run(
        ORVANE_EDITOR_PATH,
        {"--connect", "net:127.0.0.1:" + std::to_string(closedPort()), "--screenshot", shot,
         "--screenshot-wait", "1"},
        {}, {"QT_QPA_PLATFORM=offscreen", "HOME=" + dir.path().toStdString()}, std::chrono::seconds(30));
    QCOMPARE(result.status, 1);
    QVERIFY2(
        QString::fromStdString(result.err).contains("no device was read within 1 s; no screenshot taken"),
        result.err.c_str());
    QVERIFY(!QFileInfo::exists(QString::fromStdString(shot)));

    const auto refused =
        ChildProcess::run(ORVANE_EDITOR_PATH, {"--screenshot", shot, "--screenshot-wait", "0"}, {},
                          {"QT_QPA_PLATFORM=offscreen"});
    QCOMPARE(refused.status, 2);
    QVERIFY(QString::fromStdString(refused.err).contains("from 1 to 3600"));
  }

  // The usage text needs no display: printed whole, under the installed
  // name, with exit status 0, for each way of asking.
  void theUsageIsPrintedWithoutADisplay() {
    for (const char* ask : {"--help", "-h", "--help-all"}) {
      const auto result = ChildProcess::run(ORVANE_EDITOR_PATH, {"--connect", "usb", ask}, {},
                                            {"QT_QPA_PLATFORM=none-such", "DISPLAY="});
      QCOMPARE(result.status, 0);
      QVERIFY2(result.out.starts_with("Usage: orvane [options] [file]\n"), result.out.c_str());
      QVERIFY2(result.out.find("--screenshot-wait <seconds>") != std::string::npos, result.out.c_str());
    }
  }
};

}  // namespace orvane

QTEST_GUILESS_MAIN(orvane::EditorProgramTest)
#include "EditorProgramTest.moc"
