#include "controls/StoryboardLocalization.h"

#include "platform/system/Localization.h"

QString storyboardLocalized(const char* key, const char*) {
    return localized(key);
}
