#pragma once

// Fills the storyboard "Main" (Storyboard::named("Main")): every screen
// controller under its identifier and every segue with its destination and
// presentation. The application's main routine calls it once at start-up and
// then adds the window controller "OrvoWindowController" (content
// "OrvoViewController") itself when the storyboard has no initial controller.
void registerMainStoryboard();
