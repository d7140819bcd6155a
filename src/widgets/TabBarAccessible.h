#pragma once

namespace Lanvo {

// Makes every tab bar tell assistive technology which tab is the selected one (as a selected
// state on that tab, not only as the tab list's name) and keep the name and description the
// program gave the tab list. Installs itself once; call it before the first window is built.
void installTabBarAccessibility();

} // namespace Lanvo
