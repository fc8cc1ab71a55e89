// The raw client as a process of its own: `bench_raw_read PORT` reads a gateway's configuration
// over loopback TCP and exits (0 when the read ended). The reference for ezconfig-cli read, timed
// from process start to exit like it.
#include <QCoreApplication>

#include "raw_client.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2) return 2;
  const RawReadResult result = rawRead(quint16(atoi(argv[1])));
  return result.ok ? 0 : 1;
}
