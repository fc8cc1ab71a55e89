#pragma once
// Hiding passwords in text of the gateway's command language, for anything kept or shown outside
// the tool: the debug window's saved log, a command-line transcript. Qt Core only.
#include <QString>
#include <QStringList>

namespace secret_mask {

// The line with every password it carries replaced by "***", line ends kept:
//  - the rest of the line after the word "password" or "sip-password" ("ppp pap sent-username ID
//    password X", "auto-upgrade authentication login ID password X", "security password X",
//    "sip-password X"),
//  - the rest of "start-login ID PASSWORD" after the ID,
//  - any word equal to one of `known` (a device may echo a password anywhere).
// The keywords count wherever they start a word ("Send_Message : start-login ...", "gw> ...").
QString maskLine(const QString& line, const QStringList& known = {});

// maskLine for each line; a token dump of the debug window ("argv[0] : sip-password",
// "argv[1] : X", one token a line) is read as the line of its tokens, so that the password token
// is hidden too.
QStringList maskLines(const QStringList& lines, const QStringList& known = {});

}  // namespace secret_mask
