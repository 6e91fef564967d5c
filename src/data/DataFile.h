#ifndef VESK_DATA_DATAFILE_H
#define VESK_DATA_DATAFILE_H

#include <cstddef>
#include <string>
#include <vector>

// Data paths are written with the Windows separator ("Data\sprites.dat"),
// also inside the lists. Every loader hands the path it was given to this
// one function where it opens the file; nothing above converts paths.
std::string HostPath(const std::string& path);

// Reads a list file (the sprite list, the sound list): one entry per line,
// LF or CR LF line ends, empty lines kept, lines longer than kMaxListLine
// split into pieces of that length. A line whose length is an exact multiple
// of kMaxListLine gives no extra empty piece; a last line without a line end
// still counts. A NUL byte ends the text of its piece (a path holds none) but
// never merges or drops entries.
// `lines` is replaced by the entries read. Returns false if the file cannot
// be opened or a read error cut it short (`lines` then holds what was read).
const size_t kMaxListLine = 1023;
bool ReadListFile(const std::string& path, std::vector<std::string>& lines);

#endif
