#pragma once

namespace Lanvo {

// What a click on a column header does.
enum TAutoColumnSort { acsNoSort, acsSort, acsSortToggle };

// How two cell texts compare: dates, numbers, then text; or text only.
enum TAutoSortStyle { assSmart, assDefault };

// Who draws the rows.
enum TLVStyle { lvStandard, lvOwnerDrawFixed };

} // namespace Lanvo
