-- The 256-byte program memory that both generated designs instantiate, for simulation only:
-- a synchronous RAM loaded from EDUMAC8.mem (one byte per line, two hex digits; a CR before
-- the line end is ignored). On the rising edge of Clock it writes Data when WE is high and
-- presents the addressed byte on Q (the byte written, during a write).
LIBRARY IEEE;
USE IEEE.STD_LOGIC_1164.ALL;
USE IEEE.NUMERIC_STD.ALL;
USE STD.TEXTIO.ALL;

ENTITY EM256 IS
PORT (
  Clock  : in  std_logic;
  ClockEn: in  std_logic;
  Reset  : in  std_logic;
  WE     : in  std_logic;
  Address: in  std_logic_vector(7 downto 0);
  Data   : in  std_logic_vector(7 downto 0);
  Q      : out std_logic_vector(7 downto 0)
);
END EM256;

ARCHITECTURE sim OF EM256 IS
  TYPE cells IS ARRAY (0 TO 255) OF std_logic_vector(7 DOWNTO 0);

  FUNCTION hex_digit(c : character) RETURN natural IS
  BEGIN
    CASE c IS
      WHEN '0' TO '9' => RETURN character'pos(c) - character'pos('0');
      WHEN 'A' TO 'F' => RETURN character'pos(c) - character'pos('A') + 10;
      WHEN 'a' TO 'f' => RETURN character'pos(c) - character'pos('a') + 10;
      WHEN OTHERS =>
        REPORT "EDUMAC8.mem: not a hex digit: " & c SEVERITY failure;
        RETURN 0;
    END CASE;
  END FUNCTION;

  IMPURE FUNCTION load_image RETURN cells IS
    FILE image : text OPEN read_mode IS "EDUMAC8.mem";
    VARIABLE l : line;
    VARIABLE m : cells := (OTHERS => (OTHERS => '0'));
  BEGIN
    FOR i IN cells'RANGE LOOP
      ASSERT NOT endfile(image) REPORT "EDUMAC8.mem: fewer than 256 lines" SEVERITY failure;
      readline(image, l);
      ASSERT l'length >= 2 REPORT "EDUMAC8.mem: short line" SEVERITY failure;
      m(i) := std_logic_vector(to_unsigned(16 * hex_digit(l(l'low)) + hex_digit(l(l'low + 1)), 8));
    END LOOP;
    RETURN m;
  END FUNCTION;

  SIGNAL mem : cells := load_image;
BEGIN
  PROCESS(Clock)
  BEGIN
    IF rising_edge(Clock) AND ClockEn = '1' THEN
      IF WE = '1' THEN
        mem(to_integer(unsigned(Address))) <= Data;
        Q <= Data;
      ELSE
        Q <= mem(to_integer(unsigned(Address)));
      END IF;
    END IF;
  END PROCESS;
END sim;
