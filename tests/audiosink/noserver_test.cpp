// SPDX-License-Identifier: GPL-3.0-or-later
// With no audio server the output opens nothing and the player goes
// through its whole cycle silently.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "../sound/soundfixtures.h"
#include "sound/waveplayer.h"
#include "toolkit/pulseoutput.h"

using lexoria::PulseOutput;
using lexoria::sound::CWavePlayer;

class NoServerTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(m_runtime.isValid());
    QFile::setPermissions(m_runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    // Nobody listens there, and nothing is spawned.
    qputenv("PULSE_SERVER", QFile::encodeName("unix:" + m_runtime.path() + "/no-server"));
  }

  void playerCycleIsSilent() {
    PulseOutput output;
    CWavePlayer player(&output);
    QCOMPARE(player.OpenFromMemory(lexoria::sound::testing::SilentFrames(60)), CWavePlayer::kSuccess);
    QCOMPARE(player.PrepareRange(0, 400000), CWavePlayer::kSuccess);
    QCOMPARE(player.Stop(), CWavePlayer::kSuccess);
    QCOMPARE(player.Start(), CWavePlayer::kSuccess);
    QCOMPARE(player.State(), CWavePlayer::kPlaying);
    QTest::qWait(300);
    QVERIFY(!player.DeviceOpen());
    QVERIFY(!output.Waiting());
    QCOMPARE(player.Pause(), CWavePlayer::kSuccess);
    QCOMPARE(player.Resume(), CWavePlayer::kSuccess);
    QCOMPARE(player.Stop(), CWavePlayer::kSuccess);
    QCOMPARE(player.Start(), CWavePlayer::kSuccess);
    QCOMPARE(player.Close(), CWavePlayer::kSuccess);
  }

  // The server output says it has no server, at once and every time it is
  // asked again, and the player around it stays silent.
  void serverOutputFindsNoServer() {
    PulseOutput output;
    for (int attempt = 0; attempt < 2; ++attempt) {
      QVERIFY(!output.Open(lexoria::sound::PcmFormat(24000, 1)));
      QVERIFY(output.Lost());
    }
    const uint8_t pcm[64] = {};
    output.Write(pcm, sizeof pcm);
    output.Pause();
    output.Restart();
    output.Reset();
    output.Close();
    QCOMPARE(output.Pending(), 0u);

    CWavePlayer player(&output);
    QCOMPARE(player.OpenFromMemory(lexoria::sound::testing::SilentFrames(10)), CWavePlayer::kSuccess);
    QVERIFY(!player.DeviceOpen());
    QVERIFY(!player.DeviceReady());
    QVERIFY(!player.ReopenDevice());
    QCOMPARE(player.Start(), CWavePlayer::kSuccess);
    QCOMPARE(player.Close(), CWavePlayer::kSuccess);
  }

 private:
  QTemporaryDir m_runtime;
};

QTEST_GUILESS_MAIN(NoServerTest)
#include "noserver_test.moc"
