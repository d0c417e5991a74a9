#pragma once
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QStringList>

// The Google Benchmark part of each benchmark's main(), once the
// application object exists: parse the benchmark arguments and run.
inline int runBenchmarks(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Runs this benchmark program again as a child with the arguments (a fresh
// process, so its memory peak is the case's own) and returns the words of
// the line it prints, which begins with "ok" and holds at least minWords
// words. On failure the case is marked skipped and the result is empty.
inline QList<QByteArray> runChild(benchmark::State& state, const QStringList& arguments, int timeoutMs,
                                  int minWords)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(timeoutMs)) {
        child.kill();
        child.waitForFinished();
        state.SkipWithError("the child did not finish");
        return {};
    }
    const QList<QByteArray> reply = child.readAllStandardOutput().trimmed().split(' ');
    if (reply.size() < minWords || reply[0] != "ok") {
        state.SkipWithError("the child failed");
        return {};
    }
    return reply;
}

// A figure of /proc/self/status in kB ("VmRSS:", "VmHWM:"), 0 when unknown.
inline double procKb(const char* field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toDouble();
    return 0;
}
