#pragma once

// The application's main routine: builds the window from the storyboard and runs the event loop.
int applicationMain(int argc, char** argv);
