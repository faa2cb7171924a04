#pragma once
// The commands of vocalore-cli. Each takes its arguments (without the command
// name) and returns the exit status; errors go to stderr.

#include <QStringList>

namespace vocalore::cli {

int CmdDump(const QStringList& args);
int CmdInfo(const QStringList& args);
int CmdBuild(const QStringList& args);
int CmdQuiz(const QStringList& args);
int CmdExport(const QStringList& args);
int CmdImport(const QStringList& args);
int CmdPrint(const QStringList& args);
int CmdMatch(const QStringList& args);
int CmdSort(const QStringList& args);
int CmdLanguages(const QStringList& args);

} // namespace vocalore::cli
