#pragma once
// Reading reply tokens: keyword tests compare whole tokens as bytes, values go through the device
// codec before they reach a field.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "link/link_state.h"

namespace reply_tokens {

// Without building a QByteArray of the word: every line of a read runs dozens of these tests.
inline bool isWord(const QByteArray& token, QByteArrayView word) {
  return token.size() == word.size() && QByteArrayView(token) == word;
}

// The text of the token at `pos`, decoded for a field.
QString tokenText(const Argv& argv, int pos);

// An account line ("... login ID password PW", "... sent-username ID password PW") read with the
// ID expected at `idPos`. The writer puts an empty ID in as nothing, so the keyword "password"
// then stands where the ID belongs and the password follows it directly.
struct Account {
  QString id;
  QString password;
};
Account accountAt(const Argv& argv, int idPos);

}  // namespace reply_tokens
