#pragma once
// A function definition of section Functions taken apart as the bar builder takes it:
// the type word, the image field, and the text that goes through the language catalogue.

#include <optional>
#include <string>

namespace zadeve::cli::check {

struct Definition {
  std::string type;
  bool known = false;       // a type word the builder adds an item for
  bool showsImage = false;  // PUSH, MENUITEM, TOGGLE: the image field picks the button's image
  bool loadsImage = false;  // those and DIP, BUMP: the image field may load an icon set
  std::string image;        // the image field ("set/index[/rest]"; for panels the set only)
  std::optional<std::string> text;  // the translated text, for the types that have one
};

Definition parseDefinition(std::string definition);

// The icon-set number and the image index of an image field, as the library converts
// them; nullopt for a part the field does not have.
struct ImageField {
  std::optional<int> set, index;
};
ImageField parseImageField(std::string field);

}  // namespace zadeve::cli::check
