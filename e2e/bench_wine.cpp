// The registry-helper table on Wine's own registry: faults Wine can really
// produce, and none that it cannot (those cases are skipped). Key security
// holds only while Wine reports an NT version: the harness sees to that.
#include "reg_bench.h"
#include "wine_registry.h"

namespace bench {

void Wipe() { WipeTree(kScratch); }

bool Provoke(Fault fault, const std::string &path) {
  switch (fault) {
    case Fault::None: return true;
    case Fault::ReadOnlyKey: return MakeReadOnly(path) == ERROR_SUCCESS;
    case Fault::CreateFails: return CreateVolatileKey(path.substr(0, path.rfind('\\'))) == ERROR_SUCCESS;
    default: return false;
  }
}

int OpenHandles() { return -1; }

}  // namespace bench
