// The signals that end the program: the first becomes a request in the event
// loop, a second ends the process at once, an ignored one stays ignored.

#include "shutdownsignals.h"

#include <QSignalSpy>
#include <QTest>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

using namespace velmix;

class tst_Shutdown : public QObject
{
    Q_OBJECT
private slots:
    void firstSignalIsARequest_data();
    void firstSignalIsARequest();
    void secondSignalEndsAtOnce();
    void ignoredSignalStaysIgnored();
};

void tst_Shutdown::firstSignalIsARequest_data()
{
    QTest::addColumn<int>("sig");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

void tst_Shutdown::firstSignalIsARequest()
{
    QFETCH(int, sig);
    ShutdownSignals signals_;
    QSignalSpy spy(&signals_, &ShutdownSignals::requested);
    QCOMPARE(ShutdownSignals::received(), 0);
    std::raise(sig); // the process lives on
    QCOMPARE(ShutdownSignals::received(), sig);
    QVERIFY(spy.wait());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), sig);
}

void tst_Shutdown::secondSignalEndsAtOnce()
{
    ShutdownSignals signals_;
    const pid_t child = fork();
    if (child == 0) {
        std::raise(SIGTERM);
        std::raise(SIGINT); // no event loop runs: the shutdown never ends
        _exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(WTERMSIG(status), SIGINT);
}

void tst_Shutdown::ignoredSignalStaysIgnored()
{
    // Started with nohup: closing the terminal must not end the program.
    const auto old = std::signal(SIGHUP, SIG_IGN);
    {
        ShutdownSignals signals_;
        std::raise(SIGHUP);
        QCOMPARE(ShutdownSignals::received(), 0);
    }
    QVERIFY(std::signal(SIGHUP, old) == SIG_IGN);
}

QTEST_GUILESS_MAIN(tst_Shutdown)
#include "tst_shutdown.moc"
