// SPDX-License-Identifier: GPL-3.0-or-later
// The sound server output against a private server of our own: a null sink
// at the block's rate, so the recording of its monitor must hold the block
// bit for bit (nothing is resampled or mixed).
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <cstdint>
#include <memory>

#include "sound/waveformat.h"
#include "toolkit/pulseoutput.h"

using lexoria::PulseOutput;

namespace {

constexpr uint32_t kRate = 24000;

// Leading silence, as every decoded clip has: where a play begins, the
// monitor may show the sink's own silence for a moment instead of the
// block's first samples (what was already passed to the recorder is not
// taken back), so tests look at the sound after it.
constexpr int kLead = kRate / 50;

// 20 ms of silence, then noise that is never zero: silence in the
// recording is then always the sink's, and the sound is found only where
// it plays whole.
QByteArray Block(int samples, uint32_t seed) {
  QByteArray bytes(samples * 2, '\0');
  uint32_t x = seed;
  for (int i = kLead; i < samples; ++i) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    int16_t s = static_cast<int16_t>(static_cast<int32_t>(x % 16000) - 8000);
    if (s == 0) s = 1;
    bytes[2 * i] = static_cast<char>(s & 0xFF);
    bytes[2 * i + 1] = static_cast<char>((s >> 8) & 0xFF);
  }
  return bytes;
}

// The sounding part of a block.
QByteArray Sound(const QByteArray& block) { return block.mid(2 * kLead); }

// The recording without its silent samples.
QByteArray Sounding(const QByteArray& pcm) {
  QByteArray out;
  for (qsizetype i = 0; i + 1 < pcm.size(); i += 2) {
    if (pcm[i] != 0 || pcm[i + 1] != 0) out.append(pcm.constData() + i, 2);
  }
  return out;
}

const uint8_t* Bytes(const QByteArray& block) { return reinterpret_cast<const uint8_t*>(block.constData()); }

}  // namespace

class PulseOutputTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    for (const char* tool : {"pulseaudio", "parec", "pactl"}) {
      if (QStandardPaths::findExecutable(tool).isEmpty()) {
        m_skip = QByteArray(tool) + " is not installed";
        return;
      }
    }
    QVERIFY(m_runtime.isValid());
    QFile::setPermissions(m_runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    qputenv("HOME", QFile::encodeName(m_runtime.path()));
    qputenv("PULSE_SERVER", QFile::encodeName("unix:" + Socket()));
    if (!StartServer()) m_skip = "no audio server could be started here";
  }

  void cleanupTestCase() { StopServer(); }

  void init() {
    if (!m_skip.isEmpty()) QSKIP(m_skip.constData());
    QVERIFY(m_server != nullptr);
  }

  void theBlockSoundsWhole() {
    PulseOutput output;
    QVERIFY(output.Open(Format()));
    QVERIFY(!output.Lost());
    QTRY_VERIFY_WITH_TIMEOUT(!output.Waiting(), 10000);
    StartRecorder();
    const QByteArray block = Block(kRate, 1);
    output.Write(Bytes(block), static_cast<uint32_t>(block.size()));
    QCOMPARE(output.Pending(), 0u);  // all of it queued at once
    QTRY_VERIFY_WITH_TIMEOUT(Sounding(m_recorded).size() >= Sounding(block).size(), 10000);
    QTest::qWait(300);
    QVERIFY2(m_recorded.indexOf(Sound(block)) >= 0, "the block is not in the recording whole");
    QCOMPARE(Sounding(m_recorded), Sounding(block));
  }

  // Played out, the stream is corked again: nothing keeps the sink awake
  // (the recorder, which would, is stopped first).
  void aPlayedBlockLetsTheSinkSleep() {
    PulseOutput output;
    QVERIFY(output.Open(Format()));
    StartRecorder();
    const QByteArray block = Block(kRate / 2, 9);
    output.Write(Bytes(block), static_cast<uint32_t>(block.size()));
    QVERIFY(!output.Played());
    QTRY_VERIFY_WITH_TIMEOUT(m_recorded.indexOf(Sound(block)) >= 0, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(output.Played(), 10000);
    StopRecorder();
    QTRY_VERIFY_WITH_TIMEOUT(SinkState() == "IDLE" || SinkState() == "SUSPENDED", 10000);
    // A stream paused and resumed after its block played stays corked.
    output.Pause();
    output.Restart();
    QTest::qWait(200);
    QVERIFY(SinkState() == "IDLE" || SinkState() == "SUSPENDED");
  }

  // A server that runs but does not answer (stopped) while the output
  // connects: nothing waits for it, the output says it is waiting, not
  // lost, and the block written meanwhile plays once the server answers.
  void aServerThatAnswersLateStillPlays() {
    StartRecorder();
    const qint64 pid = m_server->processId();
    QCOMPARE(::kill(static_cast<pid_t>(pid), SIGSTOP), 0);
    auto output = std::make_unique<PulseOutput>();
    QVERIFY(output->Open(Format()));
    QVERIFY(!output->Lost());
    QVERIFY(output->Waiting());
    const QByteArray block = Block(kRate / 2, 10);
    output->Write(Bytes(block), static_cast<uint32_t>(block.size()));
    QCOMPARE(output->Pending(), static_cast<uint32_t>(block.size()));
    QVERIFY(!output->Played());
    QTest::qWait(500);
    QVERIFY(output->Waiting());
    QCOMPARE(::kill(static_cast<pid_t>(pid), SIGCONT), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!output->Waiting(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(m_recorded.indexOf(Sound(block)) >= 0, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(output->Played(), 10000);
    QVERIFY(!output->Lost());
  }

  // Play again while a block plays: the old one stops, the new one plays
  // from its first sample to its last.
  void aNewBlockReplacesThePlayingOne() {
    PulseOutput output;
    QVERIFY(output.Open(Format()));
    StartRecorder();
    const QByteArray first = Block(kRate, 2);
    const QByteArray second = Block(kRate / 2, 3);
    output.Write(Bytes(first), static_cast<uint32_t>(first.size()));
    QTRY_VERIFY_WITH_TIMEOUT(Sounding(m_recorded).size() > kRate / 5, 10000);
    output.Reset();
    output.Write(Bytes(second), static_cast<uint32_t>(second.size()));
    QTRY_VERIFY_WITH_TIMEOUT(m_recorded.indexOf(Sound(second)) >= 0, 10000);
    QTest::qWait(300);
    QVERIFY(m_recorded.indexOf(Sound(first)) < 0);
    // Nothing of the first after the second.
    QVERIFY(Sounding(m_recorded).endsWith(Sound(second)));
  }

  void pauseHoldsTheRestUntilRestart() {
    PulseOutput output;
    QVERIFY(output.Open(Format()));
    StartRecorder();
    const QByteArray block = Block(kRate, 4);
    output.Write(Bytes(block), static_cast<uint32_t>(block.size()));
    QTRY_VERIFY_WITH_TIMEOUT(Sounding(m_recorded).size() > kRate / 5, 10000);
    output.Pause();
    QTest::qWait(300);
    const qsizetype held = Sounding(m_recorded).size();
    QVERIFY(held < block.size());
    QTest::qWait(300);
    QCOMPARE(Sounding(m_recorded).size(), held);
    output.Restart();
    // The rest follows, to the block's last sample.
    QTRY_VERIFY_WITH_TIMEOUT(Sounding(m_recorded).endsWith(block.right(kRate)), 10000);
    QVERIFY(Sounding(m_recorded).size() > held);
  }

  // Another clip of the same format keeps the stream; Close stops the play.
  void closeStopsAndTheNextClipPlays() {
    PulseOutput output;
    QVERIFY(output.Open(Format()));
    StartRecorder();
    const QByteArray first = Block(kRate, 5);
    output.Write(Bytes(first), static_cast<uint32_t>(first.size()));
    QTRY_VERIFY_WITH_TIMEOUT(Sounding(m_recorded).size() > kRate / 5, 10000);
    output.Close();
    QTest::qWait(300);
    const qsizetype stopped = Sounding(m_recorded).size();
    QVERIFY(stopped < first.size());
    QVERIFY(output.Open(Format()));
    const QByteArray second = Block(kRate / 4, 6);
    output.Write(Bytes(second), static_cast<uint32_t>(second.size()));
    QTRY_VERIFY_WITH_TIMEOUT(m_recorded.indexOf(Sound(second)) >= 0, 10000);
    QTest::qWait(300);
    QCOMPARE(Sounding(m_recorded).size(), stopped + Sound(second).size());
  }

  // The server stops mid-play: the output notices, plays nothing, never
  // blocks, and opens again once a server is back.
  void aServerThatGoesAwayAndComesBack() {
    PulseOutput output;
    QVERIFY(output.Open(Format()));
    StartRecorder();
    const QByteArray block = Block(kRate * 2, 7);
    output.Write(Bytes(block), static_cast<uint32_t>(block.size()));
    QTRY_VERIFY_WITH_TIMEOUT(Sounding(m_recorded).size() > kRate / 5, 10000);
    StopRecorder();
    StopServer();
    QTRY_VERIFY_WITH_TIMEOUT(output.Lost(), 10000);
    output.Write(Bytes(block), static_cast<uint32_t>(block.size()));
    output.Pause();
    output.Restart();
    output.Reset();
    QVERIFY(!output.Open(Format()));
    QVERIFY(output.Lost());

    QVERIFY(StartServer());
    QVERIFY(output.Open(Format()));
    QVERIFY(!output.Lost());
    StartRecorder();
    const QByteArray again = Block(kRate / 2, 8);
    output.Write(Bytes(again), static_cast<uint32_t>(again.size()));
    QTRY_VERIFY_WITH_TIMEOUT(m_recorded.indexOf(Sound(again)) >= 0, 10000);
  }

  void formatsItCannotPlayAreRefused() {
    PulseOutput output;
    lexoria::sound::WaveFormat eightBit = Format();
    eightBit.bitsPerSample = 8;
    QVERIFY(!output.Open(eightBit));
    lexoria::sound::WaveFormat noRate = Format();
    noRate.samplesPerSec = 0;
    QVERIFY(!output.Open(noRate));
    // And a good one still opens on the same output.
    QVERIFY(output.Open(Format()));
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
      if (fields.size() >= 5 && fields[1] == "test") return fields.last().trimmed();
    }
    return {};
  }

  QString Socket() const { return m_runtime.filePath("pulse.sock"); }

  static lexoria::sound::WaveFormat Format() { return lexoria::sound::PcmFormat(kRate, 1); }

  bool StartServer() {
    m_server = std::make_unique<QProcess>();
    m_server->setStandardOutputFile(QProcess::nullDevice());
    m_server->setStandardErrorFile(QProcess::nullDevice());
    m_server->start("pulseaudio",
                    {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--log-level=error", "-L",
                     QString("module-null-sink sink_name=test rate=%1 channels=1").arg(kRate), "-L",
                     "module-native-protocol-unix auth-anonymous=1 socket=" + Socket()});
    if (!m_server->waitForStarted(10000)) return false;
    for (int i = 0; i < 200; ++i) {
      QProcess info;
      info.setStandardOutputFile(QProcess::nullDevice());
      info.setStandardErrorFile(QProcess::nullDevice());
      info.start("pactl", {"info"});
      if (info.waitForFinished(5000) && info.exitStatus() == QProcess::NormalExit && info.exitCode() == 0) return true;
      if (m_server->state() != QProcess::Running) break;
      QTest::qWait(50);
    }
    m_server.reset();
    return false;
  }

  void StopServer() {
    StopRecorder();
    if (m_server == nullptr) return;
    m_server->terminate();
    if (!m_server->waitForFinished(5000)) m_server->kill();
    m_server->waitForFinished(5000);
    m_server.reset();
  }

  void StartRecorder() {
    StopRecorder();
    m_recorded.clear();
    m_recorder = std::make_unique<QProcess>();
    connect(m_recorder.get(), &QProcess::readyReadStandardOutput,
            [this] { m_recorded += m_recorder->readAllStandardOutput(); });
    m_recorder->start("parec", {"-d", "test.monitor", "--raw", "--format=s16le", "--channels=1",
                                QString("--rate=%1").arg(kRate), "--latency-msec=10"});
    QVERIFY(m_recorder->waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(m_recorded.size() > 0, 5000);
  }

  void StopRecorder() {
    if (m_recorder == nullptr) return;
    m_recorder->terminate();
    m_recorder->waitForFinished(5000);
    m_recorder.reset();
  }

  QTemporaryDir m_runtime;
  QByteArray m_skip;
  std::unique_ptr<QProcess> m_server;
  std::unique_ptr<QProcess> m_recorder;
  QByteArray m_recorded;
};

QTEST_GUILESS_MAIN(PulseOutputTest)
#include "pulseoutput_test.moc"
