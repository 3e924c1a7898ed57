#pragma once

class ViewController;

// Sample content for the screen renderings: what the players show while a
// four-channel recording of a memory card plays. Only texts, images and
// table rows are set; no recording is opened.
class SampleContent {
public:
    static void fillWindowPlayer(ViewController* screen);
    static void fillFullScreenPlayer(ViewController* screen);
};
