#pragma once
// Everything a host needs: the automation runtime's public types, the library objects and
// the host contract. The reference host is zadeve/reference_host.h.

#include "zadeve/automation.h"
#include "zadeve/host_contract.h"
#include "zadeve/library.h"
