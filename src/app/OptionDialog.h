#pragma once

#include "settings/SettingKeys.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fixtally {

struct Program;

// What a change of a field means when "OK" is pressed.
enum class OptionRole {
    Plain,          // kept, never recounts (CSV decimals, "Date + time")
    Shading,        // "Brightest", "Darkest": shading and colour bar redrawn
    DisplayDecimal, // decimals on screen: recount
    NmeaFilter,     // recount when the loaded log is not an RTKLIB log
    RtklibFilter,   // recount when it is
    Ddmmss,         // "dd mm ss.sss": the average position shown again
    Probability,    // "2drms" / "CEP(50%)": takes effect when chosen
};

// One field of the options dialog: its control name and the INI key it edits.
struct OptionField {
    std::string_view Control;
    std::string_view Section;
    std::string_view Key;
    OptionRole Role;
};

// The options dialog "Option setting" as texts and handlers. Its fields are the settings
// of the key table (typed texts are in force at once); only the date format is held in
// the dialog until "OK" accepts it, because a refused format must not come into use. The
// desktop dialog binds one widget per field (objectName = Control) and closes itself when
// CloseRequested is set.
class OptionDialog {
public:
    static constexpr const char* Caption = "Option setting";
    static constexpr int ClientWidth = 464;
    static constexpr int ClientHeight = 471;

    // Every field in the dialog's focus order; the date format field comes last.
    static std::span<const OptionField> Fields();
    static const OptionField* FindField(std::string_view control);
    // The setting a field edits (for "RadioButton2drms" the flag; "RadioButtonCEP" is its
    // opposite and has no entry of its own).
    static SettingRef Setting(Program& program, const OptionField& field);

    // Entries of the operator lists and of the two quality lists.
    static std::span<const std::string_view> OperatorItems();
    static std::span<const std::string_view> NmeaQualityItems();
    static std::span<const std::string_view> RtklibQualityItems();

    std::string EditDateFormat; // "Format" of " Date format "
    bool CloseRequested = false;

    // What the last "OK" (and the probability choices) did, for the window and for tests.
    int Recounts = 0;
    int ShadingRedraws = 0; // ReadShadingLevels with the colour bar
    int GraphRedraws = 0;   // the scatter graph drawn again without a recount
    int AveragePositionShows = 0;
    int DateFormatErrors = 0;

    // Activation: takes the snapshot that "Cancel" restores and "OK" compares with; the
    // date format field follows a setting changed elsewhere (another INI file).
    void FormActivate(Program& program);
    // Enter and line feed are discarded by every field and list.
    static bool SwallowsKey(char32_t key) { return key == U'\r' || key == U'\n'; }

    // "2drms" / "CEP(50%)" chosen: the unit changes at once, with the spread group's
    // caption and values.
    void RadioButton2drmsClick(Program& program) { SelectProbability(program, true); }
    void RadioButtonCEPClick(Program& program) { SelectProbability(program, false); }
    // The main window's click on the spread group: the other of the two choices.
    void SelectOtherProbability(Program& program);

    // "Cancel": every field back to the snapshot, the unit of the snapshot chosen again
    // (with its effect) when it differs; close.
    void ButtonCancelClick(Program& program);
    // "OK": recount, redraw, average position and date format as the changes ask; close.
    void ButtonOKClick(Program& program);

    // Whether the fields differ from the snapshot in a way that needs a recount.
    bool RecountDue(const Program& program) const;

private:
    void SelectProbability(Program& program, bool twoDrms);
    static std::string FieldText(const Program& program, const OptionField& field);
    bool Changed(const Program& program, OptionRole role) const;
    void ApplyDateFormat(Program& program);

    std::vector<std::string> snapshot_; // one text per field, flags as "1" / "0"
    std::string snapshotDateFormat_;
    std::string syncedDateFormat_; // the setting the field was last filled from
    bool synced_ = false;
};

} // namespace fixtally
