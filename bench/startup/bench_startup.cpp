// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the phrasebook to its first painted window, process start
// included. Without arguments it starts itself `runs` times as a child and
// reports the fastest, median and slowest start; a child builds the real
// main window in the working directory, and prints the monotonic clock
// once the window's first paint has been handed to the window system.
// Usage: bench_startup [runs] [-v]   (-v: where each run spent its time)
#include <QCoreApplication>
#include <QEvent>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "app/wendaro.h"
#include "app/wendarodlg.h"

namespace {

long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Notes the first paint of the window and ends the run after it.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      // After this paint has been flushed to the window system.
      QTimer::singleShot(0, this, &FirstPaint::Report);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Report() {
    std::printf("%lld\n", NowNs());
    std::fflush(stdout);
    QCoreApplication::exit(0);
  }

  bool seen_ = false;
};

// The child also tells where its time went (stderr, in ms since main).
int Child(int argc, char** argv) {
  const long long entered = NowNs();
  auto since = [entered] { return static_cast<double>(NowNs() - entered) / 1e6; };
  CWendaroApp app(argc, argv);
  const double appReady = since();
  CWendaroDlg dialog(nullptr);
  const double constructed = since();
  FirstPaint watcher;
  dialog.installEventFilter(&watcher);
  dialog.show();
  const double shown = since();
  std::fprintf(stderr, "main %lld application %.1f constructed %.1f initialised and shown %.1f\n", entered, appReady,
               constructed, shown);
  return app.exec();
}

int Parent(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  const bool verbose = argc > 2 && std::string_view(argv[2]) == "-v";
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    const long long start = NowNs();
    child.start(QCoreApplication::applicationFilePath(), {"--child"});
    if (!child.waitForFinished(30000)) {
      std::fprintf(stderr, "child did not finish\n");
      return 1;
    }
    const long long painted = child.readAllStandardOutput().trimmed().toLongLong();
    if (painted <= start) {
      std::fprintf(stderr, "child reported no paint: %s\n", child.readAllStandardError().constData());
      return 1;
    }
    ms.push_back(static_cast<double>(painted - start) / 1e6);
    if (verbose) {
      const QList<QByteArray> phases = child.readAllStandardError().split('\n');
      for (const QByteArray& line : phases) {
        if (!line.startsWith("main ")) continue;
        const QList<QByteArray> words = line.split(' ');
        std::printf("run %d: %.1f ms; process start to main %.1f, application %s, constructed %s, shown %s\n", i,
                    ms.back(), static_cast<double>(words[1].toLongLong() - start) / 1e6, words[3].constData(),
                    words[5].constData(), words[9].constData());
      }
    }
  }
  std::sort(ms.begin(), ms.end());
  std::printf("start-up to first paint over %d runs: min %.1f ms, median %.1f ms, max %.1f ms\n", runs, ms.front(),
              ms[ms.size() / 2], ms.back());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[1]) == "--child") return Child(argc, argv);
  return Parent(argc, argv);
}
