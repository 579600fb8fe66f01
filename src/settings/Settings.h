#pragma once

#include <string>
#include <utility>
#include <vector>

namespace fixtally {

// Every user choice that survives a restart, one field per INI key and named
// after it. Most settings are held as the text the user typed and are only
// converted (and possibly corrected) where they are used.
struct Settings {
    // Section Option
    std::string Version;  // filled with the running version text at start-up
    std::string DataPath; // the executable's folder at start-up
    std::string NMEAext = ".nmea.nme.nma.txt.log.ubx";
    std::string CSVext = ".csv";
    std::string RTKLIBext = ".pos";
    int OpenFiltIdx = 1;
    int RangeIndex = 7;
    std::string GPixels = "9";
    bool Monotone = false;
    std::string HDOPlim = "100.0";
    std::string VDOPlim = "100.0";
    std::string PDOPlim = "100.0";
    bool UseAverage = true;
    std::string TrueLat;
    std::string TrueLon;
    std::string TrueAlt;
    bool AutoRange = true;
    bool CSV_SepTime = true;
    std::string MiniColor = "200";
    std::string MaxColor = "20";
    std::string PosDecimal = "0";
    std::string AltDecimal = "0";
    std::string ErrorDecimal = "5";
    std::string DopDecimal = "3";
    bool DDMMSS = true;
    int LeapSecond = 16;
    std::string NMEA_QS = ">=";
    std::string NMEA_QU = "1 SPS";
    std::string RTK_QS = ">=";
    std::string RTK_QU = "1 fix";
    std::string CSVspan = "24";
    std::string CSVstep = "1.0";
    std::string CSVherr = "10.0";
    bool TwoDrms = true; // INI key "2drms": true shows 2drms, false CEP(50%)
    int MainTop = 2147483647;
    int MainLeft = 2147483647;
    std::string DateFormat;

    // Section Font
    struct FontSection {
        int EngCharset = 0;
        std::string EngFontName = "Tahoma";
        int EngFontSize = 9;
        int JpCharset = 128;
        std::string JpFontName = "Tahoma";
        int JpFontSize = 9;
    } Font;

    // Section Reduce
    struct ReduceSection {
        std::string ElapsesTimes = "10.0";
        std::string MovingDist = "30.0";
    } Reduce;

    // Section CSVdecimals: decimals written into CSV output
    struct CsvDecimalsSection {
        std::string LatLon = "9";
        std::string Alt = "5";
        std::string Speed = "3";
        std::string DOP = "3";
        std::string Error = "5";
    } CSVdecimals;

    // Section CSVitem: comma-separated column titles recognising each CSV column
    struct CsvItemSection {
        std::string RCR = "RCR,TAG";
        std::string Date = "DATE,Date Created,UTC DATE,Date / Time,UTC,GPST,JST,yyyy/mm/dd";
        std::string Time = "TIME,UTC TIME,HH:MM:SS";
        std::string Valid = "VALID,Q";
        std::string Latitude = "LATITUDE,Lat,LATITUDE N/S,latitude(deg),Lat.(deg.)";
        std::string NS = "N/S,NS";
        std::string Longitude = "LONGITUDE,Lon,Long,LONGITUDE E/W,longitude(deg),Lon.(deg.)";
        std::string EW = "E/W,EW";
        std::string Height = "HEIGHT,Elevation,Altitude,Alt,height(m)";
        std::string Speed = "SPEED,Ground Speed";
        std::string HDOP = "HDOP";
        std::string VDOP = "VDOP";
        std::string PDOP = "PDOP";
        std::string Nsat = "NSAT (USED/VIEW),Nsat,Used sat,satellites";
        std::string Geoid = "Geoid,geoidheight";
    } CSVitem;

    // Sections CSV_Info and CSV_Option: one name=value line per logger profile
    std::vector<std::pair<std::string, std::string>> CSV_Info;
    std::vector<std::pair<std::string, std::string>> CSV_Option;
};

} // namespace fixtally
