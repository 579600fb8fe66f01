#pragma once

// Looks into PDF files from outside the program, through the poppler command-line tools
// (pdftotext, pdfinfo, pdfimages, pdftoppm of Debian's poppler-utils).

#include <array>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace fixtally::testing {

inline std::string CommandOutput(const std::string& command) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    ::pclose(pipe);
    return out;
}

inline bool HavePoppler() {
    return std::system("pdftotext -v >/dev/null 2>&1 && pdftoppm -v >/dev/null 2>&1 && "
                       "pdfimages -v >/dev/null 2>&1 && pdfinfo -v >/dev/null 2>&1") == 0;
}

constexpr double PointsPerMm = 72.0 / 25.4;

// One word as pdftotext finds it, in points from the top-left corner of its page.
struct PdfWord {
    int Page = 0; // from 1
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
    std::string Text;
};

inline std::vector<PdfWord> PdfWords(const std::string& pdf) {
    const std::string xml = CommandOutput("pdftotext -bbox '" + pdf + "' -");
    std::vector<PdfWord> words;
    static const std::regex item(
        R"re(<page |<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    int page = 0;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), item); it != std::sregex_iterator();
         ++it) {
        const std::smatch& m = *it;
        if (!m[1].matched) {
            ++page;
            continue;
        }
        words.push_back(
            {page, std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
    }
    return words;
}

inline int PdfPageCount(const std::string& pdf) {
    const std::string info = CommandOutput("pdfinfo '" + pdf + "' 2>/dev/null");
    std::smatch m;
    if (!std::regex_search(info, m, std::regex(R"(Pages:\s+(\d+))"))) return 0;
    return std::stoi(m[1]);
}

// The size in pixels and the resolution at which each image of the file is placed.
struct PdfImage {
    int Page = 0;
    int Width = 0, Height = 0;
    int XPpi = 0, YPpi = 0;
};

inline std::vector<PdfImage> PdfImages(const std::string& pdf) {
    const std::string list = CommandOutput("pdfimages -list '" + pdf + "' 2>/dev/null");
    std::vector<PdfImage> images;
    static const std::regex row(
        R"(\n\s*(\d+)\s+\d+\s+image\s+(\d+)\s+(\d+)\s+\S+\s+\d+\s+\d+\s+\S+\s+\S+\s+\d+\s+\d+\s+(\d+)\s+(\d+))");
    for (auto it = std::sregex_iterator(list.begin(), list.end(), row);
         it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        images.push_back(
            {std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5])});
    }
    return images;
}

// A page rendered in grey at the given resolution.
struct GreyPage {
    int Width = 0, Height = 0;
    std::vector<unsigned char> Pixels;
    unsigned char At(int x, int y) const { return Pixels[std::size_t(y) * Width + x]; }
};

inline GreyPage RenderGrey(const std::string& pdf, int page, int dpi) {
    const std::string pgm =
        CommandOutput("pdftoppm -gray -r " + std::to_string(dpi) + " -f " + std::to_string(page) +
                      " -l " + std::to_string(page) + " '" + pdf + "' 2>/dev/null");
    GreyPage grey;
    std::smatch m;
    if (!std::regex_search(pgm, m, std::regex(R"(^P5\s+(\d+)\s+(\d+)\s+255\s)"))) return grey;
    grey.Width = std::stoi(m[1]);
    grey.Height = std::stoi(m[2]);
    const std::size_t start = std::size_t(m.length(0));
    if (pgm.size() < start + std::size_t(grey.Width) * grey.Height) return {};
    grey.Pixels.assign(pgm.begin() + long(start), pgm.end());
    return grey;
}

} // namespace fixtally::testing
