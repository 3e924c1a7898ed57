#include "player/controls/StoryboardLocalization.h"

#include "platform/Localization.h"

QString storyboardLocalized(const char* key, const char*) {
    return localized(key);
}
