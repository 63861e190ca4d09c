#include "host/toolbar_manager.h"

#include <gtest/gtest.h>

#include "automation/collection.h"
#include "core/host_contracts.h"
#include "support/automation_assert.h"

namespace zadeve::host {
namespace {

using automation::makeObject;
using automation::ObjectRef;
using automation::Passing;

// Any automation object will do as a bar: the manager only holds them. Adding in order and
// removing on unload are driven by the main road test; here, the middle and the edges.
TEST(ToolbarManager, RemovesFromTheMiddleAndRefusesPositionsOutsideTheList) {
  auto tbm = makeObject<ToolbarManager>();
  core::ToolbarManager face{ObjectRef(tbm)};
  ObjectRef a = makeObject<automation::Collection>(), b = makeObject<automation::Collection>(),
            c = makeObject<automation::Collection>();
  for (const auto& bar : {a, b, c}) face.Add(bar);
  EXPECT_EQ(face.ItemAsObject(3, Passing::ByRef), c);
  face.Remove(2);
  EXPECT_EQ(tbm->bars(), (std::vector<ObjectRef>{a, c}));
  EXPECT_EQ(b->refCount(), 1u) << "a removed bar is let go";

  for (int16_t position : {0, 3, -1}) {
    SCOPED_TRACE(position);
    EXPECT_AUTOMATION_ERROR(face.ItemAsObject(position), 9, "position " + std::to_string(position));
    EXPECT_AUTOMATION_ERROR(face.Remove(position), 9, "holds 2");
  }
  EXPECT_AUTOMATION_ERROR(face.Add(nullptr), 91, "Nothing");
  EXPECT_EQ(tbm->count(), 2);
}

}  // namespace
}  // namespace zadeve::host
