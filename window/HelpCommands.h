#pragma once

// The commands of the help menu that the main window carries out itself.
namespace kivo {

// Opens the product's web site in the user's browser. A failure of the call is shown
// with its description; a browser that does not open the address is not reported.
void openProductWebSite();

// Shows a new About box modally, owned by the window that is active at that moment;
// returns when it has closed.
void showAboutBox();

} // namespace kivo
