#include "exchange/tokens.h"

#include "connection/text_codec.h"

QString tokenText(const Argv& argv, int pos) {
  return fromDevice(argv[pos]);
}

Account accountAt(const Argv& argv, int idPos) {
  const bool keywordAfterId = isWord(argv[idPos + 1], "password");
  if (!keywordAfterId && isWord(argv[idPos], "password")) {
    return {QString(), tokenText(argv, idPos + 1)};
  }
  return {tokenText(argv, idPos), tokenText(argv, idPos + 2)};
}
