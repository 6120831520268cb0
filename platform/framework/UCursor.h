// Cursors that need no resource.
#pragma once

namespace UCursor {

void SetArrow();

}  // namespace UCursor
