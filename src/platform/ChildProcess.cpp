#include "platform/ChildProcess.h"

#include <QProcess>
#include <QTimer>

namespace lq {

ChildProcess::ChildProcess() = default;

ChildProcess::~ChildProcess()
{
    if (_process) {
        QObject::disconnect(_process.get(), nullptr, nullptr, nullptr);
        if (_process->state() != QProcess::NotRunning) {
            _process->kill();
            _process->waitForFinished(-1);
        }
    }
}

bool ChildProcess::start(const QString& program, const QStringList& arguments)
{
    if (_process && _process->state() != QProcess::NotRunning)
        return false;
    _finished = false;
    _process = std::make_unique<QProcess>();
    QProcess* process = _process.get();
    process->setProgram(program);
    process->setArguments(arguments);
    if (!_workingFolder.isEmpty())
        process->setWorkingDirectory(_workingFolder);
    if (!_environment.isEmpty())
        process->setProcessEnvironment(processEnvironment(_environment));
    process->setProcessChannelMode(QProcess::SeparateChannels);

    QObject::connect(process, &QProcess::readyReadStandardOutput, [this, process] {
        const QByteArray bytes = process->readAllStandardOutput();
        if (_onOutput && !bytes.isEmpty())
            _onOutput(bytes);
    });
    QObject::connect(process, &QProcess::readyReadStandardError, [this, process] {
        const QByteArray bytes = process->readAllStandardError();
        if (_onError && !bytes.isEmpty())
            _onError(bytes);
    });
    QObject::connect(process, &QProcess::finished, [this, process](int exitCode, QProcess::ExitStatus status) {
        // What is still buffered comes before the end.
        const QByteArray output = process->readAllStandardOutput();
        if (_onOutput && !output.isEmpty())
            _onOutput(output);
        const QByteArray error = process->readAllStandardError();
        if (_onError && !error.isEmpty())
            _onError(error);
        ProcessResult result;
        result.started = true;
        result.crashed = status == QProcess::CrashExit;
        result.exitCode = result.crashed ? -1 : exitCode;
        finish(result);
    });

    auto failLater = [this](const QString& why) {
        ProcessResult result;
        result.startError = why;
        QTimer::singleShot(0, _process.get(), [this, result] { finish(result); });
        return false;
    };
    if (!isRunnablePath(program))
        return failLater(QStringLiteral("not an absolute path"));
    process->start(QIODevice::ReadWrite);
    if (!process->waitForStarted(-1)) {
        QObject::disconnect(process, &QProcess::finished, nullptr, nullptr);
        return failLater(process->errorString());
    }
    return true;
}

bool ChildProcess::isRunning() const
{
    return _process && _process->state() != QProcess::NotRunning;
}

bool ChildProcess::write(const QByteArray& bytes)
{
    if (!isRunning())
        return false;
    return _process->write(bytes) == bytes.size();
}

void ChildProcess::closeInput()
{
    if (isRunning())
        _process->closeWriteChannel();
}

void ChildProcess::terminate()
{
    if (isRunning())
        _process->terminate();
}

void ChildProcess::kill()
{
    if (isRunning())
        _process->kill();
}

void ChildProcess::finish(const ProcessResult& result)
{
    if (_finished)
        return;
    _finished = true;
    if (_onFinished)
        _onFinished(result);
}

} // namespace lq
