#include "app/InterfaceFonts.h"

#include "app/Program.h"
#include "app/ProgramSettings.h"

#include <array>
#include <string>

namespace fixtally {

namespace {

// number x multiplier / divisor rounded to the nearest integer, halves away from zero.
int MultiplyDivide(int number, int multiplier, int divisor) {
    if (divisor == 0) return number;
    const long long product = static_cast<long long>(number) * multiplier;
    const long long half = (divisor < 0 ? -divisor : divisor) / 2;
    const bool negative = (product < 0) != (divisor < 0);
    const long long magnitude = (product < 0 ? -product : product) + half;
    const long long quotient = magnitude / (divisor < 0 ? -divisor : divisor);
    return static_cast<int>(negative ? -quotient : quotient);
}

constexpr std::array EnglishHints{
    ControlHint{"FormReduce", "EditMd", ""},
    ControlHint{"FormReduce", "LabelMd", ""},
    ControlHint{"FormReduce", "EditEt", ""},
    ControlHint{"FormReduce", "LabelEt", ""},
    ControlHint{"FormAverage", "ButtonDay", "Rounded up less than Date."},
    ControlHint{"FormAverage", "ButtonHour", "Rounded up less than Time."},
    ControlHint{"FormAverage", "ButtonFday", "Cut off under Date."},
    ControlHint{"FormAverage", "ButtonFhour", "Cut off under Time."},
    ControlHint{"FormMain", "CheckBoxAutoRange", "Automatic range setting"},
    ControlHint{"FormMain", "CheckBoxMono", "Draws by monotone"},
    ControlHint{"FormMain", "ComboBoxPixels", "Number of pixels for dot"},
    ControlHint{"FormMain", "LabelPixels", "Number of pixels for dot"},
    ControlHint{"FormMain", "ButtonCopyAve", "Average value is pasted"},
    ControlHint{"FormMain", "SpinButton1", ""},
};

constexpr std::array JapaneseHints{
    ControlHint{"FormReduce", "EditMd", "移動距離"},
    ControlHint{"FormReduce", "LabelMd", "移動距離"},
    ControlHint{"FormReduce", "EditEt", "経過時間"},
    ControlHint{"FormReduce", "LabelEt", "経過時間"},
    ControlHint{"FormAverage", "ButtonDay", "日付未満を切り上げる"},
    ControlHint{"FormAverage", "ButtonHour", "時間未満を切り上げる"},
    ControlHint{"FormAverage", "ButtonFday", "日付未満を切り捨てる"},
    ControlHint{"FormAverage", "ButtonFhour", "時間未満を切り捨てる"},
    ControlHint{"FormMain", "CheckBoxAutoRange", "自動レンジ設定"},
    ControlHint{"FormMain", "CheckBoxMono", "単色表示"},
    ControlHint{"FormMain", "ComboBoxPixels", "ドットのピクセル数"},
    ControlHint{"FormMain", "LabelPixels", "ドットのピクセル数"},
    ControlHint{"FormMain", "ButtonCopyAve", "平均値を貼付ける"},
    ControlHint{"FormMain", "SpinButton1", "グラフレンジの変更"},
};

} // namespace

int StoredFontSize(int points, int dpi) {
    return MultiplyDivide(points, dpi, 96);
}

int AppliedFontSize(int stored, int dpi) {
    return MultiplyDivide(stored, 96, dpi);
}

void StoreChosenFont(Program& program, std::string_view name, int points, int dpi) {
    Settings::FontSection& font = program.Settings.Font;
    const int stored = StoredFontSize(points, dpi);
    if (program.Main.UiEnglish) {
        font.EngFontName = std::string(name);
        font.EngFontSize = stored;
    } else {
        font.JpFontName = std::string(name);
        font.JpFontSize = stored;
    }
    SelectInterfaceFont(program);
}

std::span<const ControlHint> InterfaceHints(bool uiEnglish) {
    if (uiEnglish) return EnglishHints;
    return JapaneseHints;
}

} // namespace fixtally
