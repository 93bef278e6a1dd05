#include "reg_bench.h"

#include "sim/sim.h"

namespace bench {

void Wipe() { sim::Reset(); }

bool Provoke(Fault fault, const std::string &path) {
  switch (fault) {
    case Fault::None: return true;
    case Fault::ReadOnlyKey: sim::MakeReadOnly(path); return true;
    case Fault::CreateFails: sim::FailCall(sim::RegCall::Create, ERROR_CHILD_MUST_BE_VOLATILE); return true;
    case Fault::QueryFails: sim::FailCall(sim::RegCall::Query, ERROR_ACCESS_DENIED); return true;
    case Fault::SetFails: sim::FailCall(sim::RegCall::Set, ERROR_ACCESS_DENIED); return true;
    case Fault::DeleteFails: sim::FailCall(sim::RegCall::Delete, ERROR_ACCESS_DENIED); return true;
  }
  return false;
}

int OpenHandles() { return sim::OpenHandles(); }

}  // namespace bench
