#include "com/bridge.h"

#include "com/client_object.h"
#include "com/dispatch_object.h"

namespace zadeve::com {

IDispatch* toDispatch(const automation::ObjectRef& object) {
  if (!object) return nullptr;
  // A client's object goes back as itself, not wrapped twice.
  if (IDispatch* client = clientDispatchOf(*object)) return client;
  return dispatchFor(object);
}

automation::ObjectRef fromDispatch(IDispatch* dispatch) {
  if (!dispatch) return {};
  if (automation::ObjectRef own = ownObjectOf(dispatch)) return own;
  return clientObjectFor(dispatch);
}

}  // namespace zadeve::com
