#pragma once

// The application's main routine: builds the window from the storyboard
// "Main" and runs the event loop until the window is closed.
int applicationMain(int argc, char** argv);

// Adds the window controller "OrvoWindowController", showing
// "OrvoViewController" first, to the storyboard "Main" as its initial
// controller, unless the storyboard already has one.
void registerShellStoryboard();
