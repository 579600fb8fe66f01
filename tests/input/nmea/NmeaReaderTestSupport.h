#pragma once

#include "../LineReaderTestSupport.h"

#include "app/LogLoading.h"
#include "app/Program.h"
#include "app/ReadProgress.h"
#include "fixdata/FixRecord.h"
#include "input/nmea/NmeaReader.h"
#include "platform/HeadlessPlatform.h"

#include <string>
#include <string_view>
#include <vector>

namespace fixtally::test {

// "$" + body + "*hh" + CR LF, with the checksum of the body.
inline std::string Sentence(std::string_view body) {
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    static const char hex[] = "0123456789ABCDEF";
    std::string s = "$";
    s += body;
    s += '*';
    s += hex[sum >> 4];
    s += hex[sum & 15];
    s += "\r\n";
    return s;
}

inline std::string Sentences(std::initializer_list<std::string_view> bodies) {
    std::string out;
    for (std::string_view b : bodies) out += Sentence(b);
    return out;
}

// A headless platform that also notes the status texts and the taskbar value each
// time the reader lets messages through.
struct RecordingPlatform : HeadlessPlatform {
    void ProcessMessages() override {
        HeadlessPlatform::ProcessMessages();
        if (program) {
            Panels0.push_back(program->Main.StatusPanel0);
            Panels1.push_back(program->Main.StatusPanel1);
        }
        TaskbarValues.push_back(TaskbarValue);
    }
    const Program* program = nullptr;
    std::vector<std::string> Panels0, Panels1;
    std::vector<int> TaskbarValues;
};

// A program that has loaded the given log text through ReadNmeaLog.
struct LoadedNmea {
    explicit LoadedNmea(std::string_view text, int taskbarMax = 0) : file(text, ".nmea") {
        ui.TaskbarMax = taskbarMax;
        ui.program = &program;
        program.Log.LogFileName = file.Path();
    }
    int Read() {
        result = ReadNmeaLog(program);
        return result;
    }
    std::vector<FixRecord> Records() const {
        std::vector<FixRecord> out;
        for (std::size_t i = 0; i < program.Store.Count(); ++i) out.push_back(program.Store.At(i));
        return out;
    }
    std::string Name() const { return file.Path().substr(file.Path().rfind('/') + 1); }

    TempFile file;
    RecordingPlatform ui;
    Program program{ui};
    int result = 0;
};

} // namespace fixtally::test
