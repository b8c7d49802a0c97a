#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zelsim {

// What the program was asked for on its command line.
class CommandLine {
  public:
    std::map<int, std::string> comDevices;  // --com N=DEVICE
    int port = 0;                           // --port N (0: as configured)
    uint32_t baud = 0;                      // --baud RATE (0: as configured)
    bool connect = false;                   // --connect
    bool demo = false;                      // --demo
    static constexpr const char* kDataFileEnding = ".txt";

    bool graph = false;      // --graph [FILE], or FILE.txt: the graph window opens at start
    std::string graphFile;   // ... showing this data file
    std::string configFile;  // --config FILE
    // --log [FILE]: log from the moment the port is open; an empty FILE
    // means the configured log name.
    std::optional<std::string> log;
    bool help = false;
    bool version = false;
    std::string error;  // set when the arguments cannot be used

    static CommandLine Parse(const std::vector<std::string>& args);
    static std::string Usage(const std::string& program);
};

}  // namespace zelsim
