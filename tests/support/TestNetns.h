#pragma once
// A private network namespace for ping tests: created with "ip netns add", entered by the
// calling thread only (sockets opened meanwhile live in it), left and deleted on
// destruction, so no test traffic can reach a real network.

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace zfw::test {

class TestNetns {
public:
    TestNetns()
    {
        static int counter = 0;
        m_name =
            QStringLiteral("zfwtest-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter);
        m_created = run({QStringLiteral("netns"), QStringLiteral("add"), m_name});
        if (!m_created) {
            m_why = QStringLiteral("network namespaces are not permitted here (ip netns add: %1)")
                        .arg(m_output.trimmed());
            return;
        }
        m_ok = exec(QStringLiteral("ip link set lo up"));
        if (!m_ok)
            m_why = QStringLiteral("loopback of the test namespace cannot be raised: %1")
                        .arg(m_output.trimmed());
    }

    ~TestNetns()
    {
        leave();
        if (m_created)
            run({QStringLiteral("netns"), QStringLiteral("delete"), m_name});
    }

    TestNetns(const TestNetns&) = delete;
    TestNetns& operator=(const TestNetns&) = delete;

    bool ok() const { return m_ok; }
    QString whyNot() const { return m_why; }

    // Runs a shell command inside the namespace; true when it exits with 0.
    bool exec(const QString& command)
    {
        return run({QStringLiteral("netns"), QStringLiteral("exec"), m_name, QStringLiteral("sh"),
                    QStringLiteral("-c"), command});
    }

    // Sets a per-namespace kernel value, e.g. net.ipv4.icmp_echo_ignore_all.
    bool sysctl(const QString& key, const QString& value)
    {
        QString path = key;
        path.replace(QLatin1Char('.'), QLatin1Char('/'));
        return exec(QStringLiteral("echo '%1' > /proc/sys/%2").arg(value, path));
    }

    // Moves the calling thread into the namespace.
    bool enter()
    {
        if (!m_ok || m_savedFd >= 0)
            return false;
        m_savedFd = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
        const QByteArray path = QByteArrayLiteral("/run/netns/") + m_name.toLatin1();
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        const bool entered = m_savedFd >= 0 && fd >= 0 && ::setns(fd, CLONE_NEWNET) == 0;
        if (fd >= 0)
            ::close(fd);
        if (!entered && m_savedFd >= 0) {
            ::close(m_savedFd);
            m_savedFd = -1;
        }
        return entered;
    }

    void leave()
    {
        if (m_savedFd < 0)
            return;
        ::setns(m_savedFd, CLONE_NEWNET);
        ::close(m_savedFd);
        m_savedFd = -1;
    }

private:
    bool run(const QStringList& args)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("ip"), args);
        if (!p.waitForStarted(5000)) {
            m_output = p.errorString();
            return false;
        }
        p.waitForFinished(10000);
        m_output = QString::fromLocal8Bit(p.readAll());
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    QString m_name;
    QString m_output;
    QString m_why;
    bool m_created = false;
    bool m_ok = false;
    int m_savedFd = -1;
};

}  // namespace zfw::test
