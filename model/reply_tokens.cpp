#include "model/reply_tokens.h"

#include "link/text_codec.h"

namespace reply_tokens {

QString tokenText(const Argv& argv, int pos) {
  return fromDevice(argv[size_t(pos)]);
}

Account accountAt(const Argv& argv, int idPos) {
  const bool keywordAfterId = isWord(argv[size_t(idPos) + 1], "password");
  if (!keywordAfterId && isWord(argv[size_t(idPos)], "password")) {
    return {QString(), tokenText(argv, idPos + 1)};
  }
  return {tokenText(argv, idPos), tokenText(argv, idPos + 2)};
}

}  // namespace reply_tokens
