#pragma once

#include <map>
#include <string>

// A small disc the browser loads without a word in either language. The Polish description holds code page
// 1250 letters, which must not pass for UTF-8; the installer is given with an argument. The help files are
// there by their default names.
inline std::map<std::string, std::string> CleanDisc() {
  return {
      {"kat1.txt", "1;0;Gry\r\nNajlepsze \xb3\xb9\xe6 gry\r\n$\r\n2;1;Szachy\r\n$\r\n"},
      {"kat2.txt", "1;0;Hry\r\nNejlepsi hry\r\n$\r\n2;1;Sachy\r\n$\r\n"},
      {"prog.txt", "GAMES\\CHESS\r\n2\r\nrun=chess.exe\r\nins=setup.exe /q\r\n\r\n"},
      {"GAMES\\CHESS\\chess.exe", "MZ"},
      {"GAMES\\CHESS\\setup.exe", "MZ"},
      {"GAMES\\CHESS\\opis\\opis1.txt", "Szachy \xb3\r\nOpis.\r\n"},
      {"GAMES\\CHESS\\opis\\opis2.txt", "Sachy\r\n"},
      {"tamo_pl.hlp", "?_"},
      {"tamo_cz.hlp", "?_"},
  };
}
