#pragma once
// A transport's failure that nobody listens for (a socket's failed() with no receiver) has no
// caller to tell. It goes to one process-wide reporter instead: a program with windows
// shows them in its standard error box, a program without windows decides for itself. Without a
// reporter they are written as a warning.
#include <QString>
#include <functional>

using LinkFailureReporter = std::function<void(const QString& text)>;

// Replaces the reporter; an empty function restores the warning.
void setLinkFailureReporter(LinkFailureReporter reporter);
void reportLinkFailure(const QString& text);

// The one guard of the tool: runs `work`; a LinkError or other std::exception escaping it is
// handed to `failed` as its text. Returns false when `work` failed. The windows' runGuarded and the
// session's guard are this with their own `failed`.
bool runCatchingFailures(const std::function<void()>& work,
                         const std::function<void(const QString& text)>& failed);
