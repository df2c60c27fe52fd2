// The user-defined instruction set: 64 entries, one per op-code group of four, and the tables
// derived from it for the assembler, the disassembler and the views. Strings of an entry are
// kept as the bytes the instruction-system file holds (GB2312); the text functions return
// UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "isa/keyword_table.h"
#include "machine/machine_state.h"

namespace edumac8 {

struct InstrEntry {
  bool defined = false;
  std::string mnemonic;  // at most 12 characters, no trailing blanks
  std::uint8_t kind1 = 0;
  std::uint8_t kind2 = 0;
  std::uint8_t length = 1;
  std::uint8_t opcode = 0;
  std::string comment;  // at most 80 bytes
};

constexpr int kEntries = 64;
constexpr int kFetchEntry = 0;      // _FATCH_, op-codes 00-03
constexpr int kInterruptEntry = 46; // _INT_, op-codes B8-BB

class InstructionSystem {
 public:
  InstructionSystem();  // the built-in defaults

  std::array<InstrEntry, kEntries> InstrTable;
  std::array<std::uint8_t, 256> OpLengthTable{};
  std::array<std::string, kEntries> InstrTextTable;  // UTF-8
  KeywordTable keywords;
  std::array<OperandFormGrid, kMaxMnemonics> OperandFormTable{};
  // Highlighting words for the source editor: each followed by 0xFF, ended by two NULs.
  std::string EditorKeywordList;

  std::string InsFileName;  // remembered by the file commands and the CSV exports
  bool UMModified = false;

  void SetEntry(std::string_view mnemonic, std::uint8_t opcode, std::uint8_t kind1,
                std::uint8_t kind2, std::string_view comment);
  void ClearEntry(int i);
  // Every entry undefined with a 12-blank mnemonic, as before a load.
  void MakeAllUndefined();
  std::string EntryText(int i) const;
  void RebuildDerived();

  // Instruction table and uM of the built-in system.
  void LoadDefaults(MicroProgram& uM);
  // The new command's empty system: only the two protected entries, every uM cell empty.
  void MakeNew(MicroProgram& uM);

  // The modification of entry `current` to (mnemonic, kinds) as the instruction-set window
  // makes it: upper-cased and trimmed, then validated. Returns the error text (UTF-8) or
  // nothing; on success the entry is set with an empty comment and the tables rebuilt.
  std::optional<std::string> ModifyEntry(int current, std::string_view mnemonic,
                                         std::uint8_t kind1, std::uint8_t kind2);
  std::optional<std::string> ValidateModification(int current, const std::string& mnemonic,
                                                  std::uint8_t kind1, std::uint8_t kind2) const;
  // Deletion of entry `current`: refused for a protected entry with a comment.
  std::optional<std::string> DeleteEntry(int current);
  std::optional<std::string> ProtectionError(int current) const;

  std::string CommentText(int i) const;  // UTF-8
};

// The fixed comments of the two protected entries (UTF-8).
extern const char* const kFetchComment;
extern const char* const kInterruptComment;

// "10-13" style range of a group's op-codes.
std::string OpcodeRangeText(std::uint8_t opcode);
std::string Hex2(unsigned value);

}  // namespace edumac8
