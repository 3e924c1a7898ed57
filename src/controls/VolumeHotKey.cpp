#include "controls/VolumeHotKey.h"

#include "controls/VolumeSliderCell.h"
#include "shared/DefaultsKeys.h"
#include "shared/PlayerState.h"

#include "platform/media/Player.h"
#include "platform/system/UserDefaults.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

namespace {
constexpr float kVolumeStep = 0.05f;
constexpr int kVolumeSliderStep = 5;
} // namespace

void changeVolumeWithHotKey(Player* player, VolumeSliderCell* slider, QLabel* text, bool up) {
    if (isMuted)
        return;
    UserDefaults& defaults = UserDefaults::standard();
    if (player) {
        const float v = player->volume();
        if (up && v < 1.0f)
            player->setVolume(std::min(1.0f, v + kVolumeStep));
        else if (!up && v > 0.0f)
            player->setVolume(std::max(0.0f, v - kVolumeStep));
        const float now = player->volume();
        if (slider) {
            // The whole part of the volume in percent; the margin keeps a float 0.95 at 95.
            const double percent = std::floor(static_cast<double>(now) * 100.0 + 1e-4);
            slider->setValue(static_cast<int>(std::clamp(percent, 0.0, 100.0)));
        }
        defaults.set(QLatin1String(DefaultsKey::kVolume), static_cast<double>(now));
    } else if (slider) {
        slider->setValue(std::clamp(slider->value() + (up ? kVolumeSliderStep : -kVolumeSliderStep), 0, 100));
        defaults.set(QLatin1String(DefaultsKey::kVolume), slider->value() / 100.0);
    }
    if (slider) {
        const QString number = QString::number(slider->value());
        if (text)
            text->setText(number);
        slider->setToolTip(number);
    }
}

float storeVolumeFromSlider(VolumeSliderCell* slider, QLabel* text) {
    const QString number = QString::number(slider->value());
    if (text)
        text->setText(number);
    slider->setToolTip(number);
    const float level = static_cast<float>(slider->doubleValue() / 100.0);
    UserDefaults::standard().set(QLatin1String(DefaultsKey::kVolume), static_cast<double>(level));
    return level;
}
