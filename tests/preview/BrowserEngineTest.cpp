#include "TestRegistry.h"
#include "preview/BrowserEngine.h"

#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

class BrowserEngineTest : public QObject {
    Q_OBJECT
private slots:
    void sandboxOffForRootAlone()
    {
        const QByteArray before = qgetenv("QTWEBENGINE_DISABLE_SANDBOX");
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
        BrowserEngine::prepareEnvironment();
        const bool set = qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX");
        before.isNull() ? qunsetenv("QTWEBENGINE_DISABLE_SANDBOX") : qputenv("QTWEBENGINE_DISABLE_SANDBOX", before);
        QCOMPARE(set, ::geteuid() == 0);
        if (::geteuid() != 0)
            return;

        // As root, see that an ordinary user keeps the sandbox: a child
        // process drops to "nobody" and reports what it would set.
        const pid_t pid = ::fork();
        QVERIFY(pid >= 0);
        if (pid == 0) {
            ::alarm(30);   // a stuck child must not hang the tests
            ::unsetenv("QTWEBENGINE_DISABLE_SANDBOX");
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(3);
            BrowserEngine::prepareEnvironment();
            ::_exit(::getenv("QTWEBENGINE_DISABLE_SANDBOX") ? 1 : 0);
        }
        int status = 0;
        QCOMPARE(::waitpid(pid, &status, 0), pid);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }
};

QP_REGISTER_TEST(BrowserEngineTest)
#include "BrowserEngineTest.moc"
