#include "host/toolbar_manager.h"

#include <gtest/gtest.h>

#include "automation/collection.h"
#include "automation/dispatch.h"
#include "core/host_contracts.h"
#include "support/automation_assert.h"

namespace zadeve::host {
namespace {

using automation::makeObject;
using automation::Ref;
using automation::ObjectRef;
using automation::Passing;
using automation::Variant;

// Any automation object will do as a bar: the manager only holds them.
ObjectRef someBar() { return makeObject<automation::Collection>(); }

TEST(ToolbarManager, HoldsBarsInOrderThroughTheLibrarysCalls) {
  auto tbm = makeObject<ToolbarManager>();
  core::ToolbarManager face{ObjectRef(tbm)};
  ObjectRef a = someBar(), b = someBar(), c = someBar();
  for (const auto& bar : {a, b, c}) face.Add(bar);
  EXPECT_EQ(face.Count(), 3);
  EXPECT_EQ(face.ItemAsObject(1), a);
  EXPECT_EQ(face.ItemAsObject(3, Passing::ByRef), c);

  face.Remove(2);  // by reference, as unloading passes it
  EXPECT_EQ(tbm->bars(), (std::vector<ObjectRef>{a, c}));
  EXPECT_EQ(b->refCount(), 1u) << "a removed bar is let go";
}

TEST(ToolbarManager, PositionsOutsideTheListAndNothingAreRefused) {
  auto tbm = makeObject<ToolbarManager>();
  core::ToolbarManager face{ObjectRef(tbm)};
  face.Add(someBar());
  for (int16_t position : {0, 2, -1}) {
    SCOPED_TRACE(position);
    EXPECT_AUTOMATION_ERROR(face.ItemAsObject(position), 9, "position " + std::to_string(position));
    EXPECT_AUTOMATION_ERROR(face.Remove(position), 9, "holds 1");
  }
  EXPECT_AUTOMATION_ERROR(face.Add(nullptr), 91, "Nothing");
  EXPECT_AUTOMATION_ERROR(automation::callMethod(*tbm, "Add", {Variant("bar")}), 13, "");
  EXPECT_EQ(tbm->count(), 1);
}

}  // namespace
}  // namespace zadeve::host
