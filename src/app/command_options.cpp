#include "app/command_options.hpp"

#include <algorithm>

#include "app/build_info.hpp"

namespace velmora::options {

const Option* optionSpelled(std::string_view argument, std::optional<std::string_view>& attached) {
  if (build::kTakesSlashQuestionMark && argument == "/?") {
    return &kOptions[0];
  }
  const std::size_t equals = argument.find('=');
  const std::string_view spelling = argument.substr(0, equals);
  const Option* option =
      std::find_if(std::begin(kOptions), std::end(kOptions),
                   [spelling](const Option& o) { return o.spelling == spelling; });
  if (option == std::end(kOptions) ||
      (equals != std::string_view::npos && option->operand == Operand::kNone &&
       option->files == Files::kNone)) {
    return nullptr;
  }
  if (equals != std::string_view::npos) {
    attached = argument.substr(equals + 1);
  }
  return option;
}

const Modifier* modifierSpelled(std::string_view argument,
                                std::optional<std::string_view>& attached) {
  const std::size_t equals = argument.find('=');
  const Modifier* modifier = std::find_if(
      std::begin(kModifiers), std::end(kModifiers), [argument, equals](const Modifier& m) {
        return m.spelling == (m.takesSeconds ? argument.substr(0, equals) : argument);
      });
  if (modifier == std::end(kModifiers)) {
    return nullptr;
  }
  if (equals != std::string_view::npos) {
    attached = argument.substr(equals + 1);
  }
  return modifier;
}

const Modifier* modifierOutOfPlace(const CommandLine& command) {
  const Modifier* modifier =
      std::find_if(std::begin(kModifiers), std::end(kModifiers), [&command](const Modifier& m) {
        return command.*m.flag &&
               std::find(m.modes.begin(), m.modes.end(), command.action) == m.modes.end();
      });
  return modifier == std::end(kModifiers) ? nullptr : modifier;
}

const Option* optionFor(Action action) {
  const Option* option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                      [action](const Option& o) { return o.action == action; });
  return option == std::end(kOptions) ? nullptr : option;
}

}  // namespace velmora::options
