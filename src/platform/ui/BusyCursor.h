#pragma once

// Shows the busy cursor over every window of the application while it lives:
// for work that holds the main thread (a tool run and waited for, a large
// copy), during which the windows cannot answer. Guards nest; each one gives
// back what it set. Without a GUI application it does nothing. Main thread.
class BusyCursor {
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // Whether a guard is alive now.
    static bool isShown();

private:
    bool m_set = false;
};
