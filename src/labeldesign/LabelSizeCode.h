#pragma once
// The first character of a label file's name is its label size code.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

class LabelSizeCode {
public:
    struct Size {
        int width;
        int height;
    };

    // The code as the file chooser shows it: "1=56*35", "2=40*30", "3=60*40", or for any other
    // first character the character itself (empty for an empty name).
    static std::string caption(std::string_view fileName);
    // The label size in mm the code stands for; none for an unknown code.
    static std::optional<Size> size(std::string_view fileName);

    // The label files (*.bel) in a folder, by name, for the file chooser; a folder that is not
    // there or cannot be read lists none.
    static std::vector<std::string> labelFiles(const std::filesystem::path& folder);
};

} // namespace korvan
