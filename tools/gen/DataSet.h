#ifndef GEN_DATASET_H_INCLUDED
#define GEN_DATASET_H_INCLUDED

#include <string>
#include <vector>

namespace gen {

// The files the generator makes, relative to the folder that holds Data/
// (the game's working directory). The font is not among them: it is a
// Debian font copied by hand, with its licence beside it.
std::vector<std::string> GeneratedFiles();

// Writes every generated file under `root` (which must exist; the folders
// below it are created). Returns false, naming the file in `failed`,
// when one cannot be written.
bool GenerateAll(const std::string& root, std::string& failed);

} // namespace gen

#endif
