#include "TestRegistry.h"
#include "preview/BrowserEngine.h"

#include <QTest>

#include <optional>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Sets or unsets an environment variable for one scope.
class EnvValue {
public:
    EnvValue(const char* name, std::optional<QByteArray> value) : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_old = qgetenv(name);
        value ? qputenv(name, *value) : qunsetenv(name);
    }
    ~EnvValue() { m_old ? qputenv(m_name, *m_old) : qunsetenv(m_name); }

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};

}

class BrowserEngineTest : public QObject {
    Q_OBJECT
private slots:
    void sandboxOffForRootAlone()
    {
        EnvValue sandbox("QTWEBENGINE_DISABLE_SANDBOX", std::nullopt);
        BrowserEngine::prepareEnvironment();
        QCOMPARE(qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"), ::geteuid() == 0);
        if (::geteuid() != 0)
            return;

        // As root, see that an ordinary user keeps the sandbox: a child
        // process drops to "nobody" and reports what it would set.
        const pid_t pid = ::fork();
        QVERIFY(pid >= 0);
        if (pid == 0) {
            ::alarm(30);   // never let a stuck child hang the tests
            ::unsetenv("QTWEBENGINE_DISABLE_SANDBOX");
            if (::setgid(65534) != 0 || ::setuid(65534) != 0 || ::geteuid() == 0)
                ::_exit(3);
            BrowserEngine::prepareEnvironment();
            ::_exit(::getenv("QTWEBENGINE_DISABLE_SANDBOX") ? 1 : 0);
        }
        int status = 0;
        QCOMPARE(::waitpid(pid, &status, 0), pid);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    void chromiumFlagsAddToTheUsers()
    {
        EnvValue flags("QTWEBENGINE_CHROMIUM_FLAGS", QByteArray("--user-flag"));
        BrowserEngine::prepareEnvironment();
        const QByteArray once = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        QVERIFY(once.startsWith("--user-flag "));
        QVERIFY(once.contains("--disable-background-networking"));
        // Preparing again (a second view) adds nothing twice.
        BrowserEngine::prepareEnvironment();
        QCOMPARE(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"), once);
    }
};

QP_REGISTER_TEST(BrowserEngineTest)
#include "BrowserEngineTest.moc"
