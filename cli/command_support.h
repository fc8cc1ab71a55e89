#pragma once
// What the commands share: their option parser, the device named on the command line, the
// configuration file given to them, and writing a result.
#include <QByteArray>
#include <QCommandLineParser>
#include <QJsonObject>
#include <QString>
#include <memory>

class DeviceLink;

// A parser with the command's usage line and the connection options. `withDevice`: the command
// talks to a device.
void setUpParser(QCommandLineParser& parser, const QString& command, bool withDevice);

// Parses `arguments` (program name first). Returns -1 to go on, or the exit code: 0 after --help,
// 2 after a usage error (told on stderr). `positional`: how many positional arguments, -1 any.
int parseArguments(QCommandLineParser& parser, const QStringList& arguments, int positional);

// The device of --tcp / --serial with its password and transcript, logged in and read. On failure
// returns nullptr with `exitCode` set (the message is out).
std::unique_ptr<DeviceLink> readDevice(const QCommandLineParser& parser, int* exitCode);

// The longest configuration file taken; a full one is a few kilobytes.
constexpr qint64 kMaxConfigFileBytes = 1024 * 1024;

// Reads and checks a configuration file ("-": standard input); false with `exitCode` set (2) and
// every problem told on stderr. `allowRedacted`: a secret reading "***" is taken (nothing will be
// written).
bool loadConfigFile(const QString& path, bool allowRedacted, QJsonObject* document, int* exitCode);

// Writes `bytes` to `path` as a whole or not at all, readable by its owner only when
// `secret`; "-" or empty means stdout. False with the reason told on stderr.
bool writeResult(const QString& path, const QByteArray& bytes, bool secret);
