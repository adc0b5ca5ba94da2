// SPDX-License-Identifier: GPL-3.0-or-later
// Real playback: a private audio server with its null sink, a recording of
// the sink's monitor, and the player's block found in that recording.
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <vector>

#include "../sound/soundfixtures.h"
#include "sound/waveplayer.h"
#include "toolkit/pulseoutput.h"

using lexoria::PulseOutput;
using lexoria::sound::CWavePlayer;
namespace fixtures = lexoria::sound::testing;

namespace {

std::vector<int16_t> Samples(const uint8_t* bytes, size_t size) {
  std::vector<int16_t> out(size / 2);
  for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
  return out;
}

// Normalised correlation of the recording at `offset` with a piece of the
// reference: 1 for the same samples, still near 1 when the server's
// resampling shifted them by a fraction of a sample.
double Correlation(const std::vector<int16_t>& recording, size_t offset, const std::vector<int16_t>& reference,
                   size_t from, size_t count) {
  double cross = 0, energyRec = 0, energyRef = 0;
  for (size_t k = 0; k < count; ++k) {
    const double r = reference[from + k];
    const double h = recording[offset + k];
    cross += r * h;
    energyRef += r * r;
    energyRec += h * h;
  }
  return energyRef > 0 && energyRec > 0 ? cross / std::sqrt(energyRef * energyRec) : 0.0;
}

}  // namespace

class PlaybackTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(m_runtime.isValid());
    QFile::setPermissions(m_runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    qunsetenv("PULSE_SERVER");
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty() || QStandardPaths::findExecutable("parec").isEmpty()) {
      m_skip = "pulseaudio or parec is not installed";
      return;
    }
    if (!fixtures::HaveEncoder()) {
      m_skip = "sox or lame is not installed";
      return;
    }
    QProcess server;
    server.setProcessChannelMode(QProcess::MergedChannels);
    server.start("pulseaudio", {"--start", "--exit-idle-time=-1"});
    if (!server.waitForFinished(20000) || server.exitCode() != 0) {
      m_skip = "no audio server could be started here: " + server.readAll().trimmed();
      return;
    }
    m_serverStarted = true;
  }

  void cleanupTestCase() {
    // Ends the server of our own runtime folder only.
    if (!m_serverStarted) return;
    QProcess::execute("pulseaudio", {"--kill"});
    // The server removes its files as it goes; wait for it before the
    // runtime folder is removed.
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(m_runtime.filePath("pulse/pid")), 5000);
    QTest::qWait(200);
  }

  void theBlockIsPlayedThroughTheSink() {
    if (!m_skip.isEmpty()) QSKIP(m_skip.constData());
    fixtures::TempDir work;
    fixtures::Bytes clip = fixtures::Encode(work.Path(), 1.5, "-m m --resample 24 -b 48 -t");
    QVERIFY(!clip.empty());

    QProcess recorder;
    QByteArray recorded;
    connect(&recorder, &QProcess::readyReadStandardOutput, [&] { recorded += recorder.readAllStandardOutput(); });
    recorder.start("parec", {"-d", "auto_null.monitor", "--format=s16le", "--channels=1", "--rate=24000", "--raw",
                             "--latency-msec=50"});
    QVERIFY(recorder.waitForStarted(5000));
    // The null sink sleeps while idle; wake it and wait for the recording
    // to flow, or the start of the clip is lost.
    QProcess::execute("pactl", {"suspend-sink", "auto_null", "0"});
    QTRY_VERIFY_WITH_TIMEOUT(recorded.size() > 0, 5000);

    PulseOutput output;
    CWavePlayer player(&output);
    QCOMPARE(player.OpenFromMemory(std::move(clip)), CWavePlayer::kSuccess);
    player.PrepareRange(0, 400000);
    QVERIFY2(player.DeviceOpen(), "no sound server was found");
    player.Stop();
    player.Start();
    QTRY_VERIFY_WITH_TIMEOUT(output.Played(), 8000);
    QTest::qWait(700);
    recorder.terminate();
    recorder.waitForFinished(5000);
    recorded += recorder.readAllStandardOutput();
    // Played out, the stream is corked: with the recorder gone nothing keeps
    // the sink running, and it can go to sleep.
    QTRY_VERIFY_WITH_TIMEOUT(SinkState() == "IDLE" || SinkState() == "SUSPENDED", 8000);

    const std::vector<int16_t> block = Samples(player.Block(), player.BlockSize());
    const std::vector<int16_t> heard =
        Samples(reinterpret_cast<const uint8_t*>(recorded.constData()), static_cast<size_t>(recorded.size()));
    // The sounding part of the block, in chunks of 50 ms, each looked for
    // near where the previous one was found. The server resamples through
    // its own rate, so a chunk is alike, not bit-exact; on a busy machine
    // it may also drop a few milliseconds, which costs a chunk or two.
    const size_t chunk = 1200;
    size_t first = 0, last = block.size();
    while (first < last && std::abs(block[first]) < 64) ++first;
    while (last > first && std::abs(block[last - 1]) < 64) --last;
    QVERIFY2(last - first > 10 * chunk, "the block hardly sounds");
    QVERIFY2(heard.size() > chunk, "the recording is empty");
    int chunks = 0, found = 0;
    bool anchored = false;
    size_t expected = 0;
    for (size_t from = first; from + chunk <= last; from += chunk) {
      ++chunks;
      const size_t lo = anchored ? (expected > 2 * chunk ? expected - 2 * chunk : 0) : 0;
      const size_t hi = anchored ? std::min(heard.size() - chunk, expected + 2 * chunk) : heard.size() - chunk;
      double best = -1;
      size_t at = 0;
      for (size_t offset = lo; offset <= hi; ++offset) {
        const double c = Correlation(heard, offset, block, from, chunk);
        if (c > best) {
          best = c;
          at = offset;
        }
      }
      if (best > 0.9) {
        ++found;
        anchored = true;
        expected = at + chunk;
      } else if (anchored) {
        expected += chunk;
      }
    }
    qInfo("%d of %d chunks of the clip found in %zu recorded samples", found, chunks, heard.size());
    QVERIFY2(found * 10 >= chunks * 8, "the clip is not in the recording");
  }

 private:
  // The null sink's state as the server reports it (RUNNING, IDLE,
  // SUSPENDED).
  static QString SinkState() {
    QProcess pactl;
    pactl.start("pactl", {"list", "sinks", "short"});
    pactl.waitForFinished(5000);
    for (const QString& line : QString::fromUtf8(pactl.readAllStandardOutput()).split('\n')) {
      const QStringList fields = line.split('\t');
      if (fields.size() >= 5 && fields[1] == "auto_null") return fields.last().trimmed();
    }
    return {};
  }

  QTemporaryDir m_runtime;
  QByteArray m_skip;
  bool m_serverStarted = false;
};

QTEST_GUILESS_MAIN(PlaybackTest)
#include "playback_test.moc"
