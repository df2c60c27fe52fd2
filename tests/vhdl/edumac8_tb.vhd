-- Runs both generated designs side by side on one clock from one reset and writes, for the
-- reset and after every clock, the observed ports of each to trace.txt, one line per design:
-- its letter, the clock number and NAME=hex pairs. The registers are sampled late in the
-- clock, when the combinational ports (SHIFT) already show the next step's ALU. The interrupt request is pulsed
-- right after clock IRQ_AFTER (none when negative), as the interrupt command raises it
-- between two micro-steps.
LIBRARY IEEE;
USE IEEE.STD_LOGIC_1164.ALL;
USE STD.TEXTIO.ALL;

ENTITY edumac8_tb IS
GENERIC (
  CLOCKS    : natural := 300;
  IRQ_AFTER : integer := -1
);
END edumac8_tb;

ARCHITECTURE sim OF edumac8_tb IS
  TYPE observed IS RECORD
    rcy, rz                                  : std_logic;
    a, w, r0, r1, r2, r3, mar, pc, st, o, ir : std_logic_vector(7 DOWNTO 0);
    um                                       : std_logic_vector(23 DOWNTO 0);
    shift                                    : std_logic_vector(9 DOWNTO 0);
  END RECORD;

  SIGNAL clk   : std_logic := '0';
  SIGNAL rst   : std_logic := '1';
  SIGNAL i_req : std_logic := '0';
  SIGNAL keys  : std_logic_vector(7 DOWNTO 0) := (OTHERS => '0');

  SIGNAL u, c          : observed;
  SIGNAL u_upc      : std_logic_vector(7 DOWNTO 0);
  SIGNAL c_rt, c_ct : std_logic_vector(1 DOWNTO 0);
  SIGNAL u_em, c_em : std_logic_vector(7 DOWNTO 0);

  PROCEDURE put(l : INOUT line; name : string; v : std_logic_vector) IS
  BEGIN
    write(l, " " & name & "=" & to_hstring(v));
  END PROCEDURE;

  PROCEDURE put_common(l : INOUT line; s : observed) IS
  BEGIN
    put(l, "A", s.a);     put(l, "W", s.w);
    put(l, "R0", s.r0);   put(l, "R1", s.r1);   put(l, "R2", s.r2);   put(l, "R3", s.r3);
    put(l, "PC", s.pc);   put(l, "IR", s.ir);   put(l, "OUT", s.o);   put(l, "MAR", s.mar);
    put(l, "ST", s.st);
    put(l, "RCY", (0 => s.rcy));                put(l, "RZ", (0 => s.rz));
    put(l, "UM", s.um);   put(l, "SHIFT", s.shift);
  END PROCEDURE;
BEGIN
  UU: ENTITY work.EDUMAC8_U PORT MAP (
    pRCy => u.rcy, pRZ => u.rz, pA => u.a, pW => u.w,
    pR0 => u.r0, pR1 => u.r1, pR2 => u.r2, pR3 => u.r3, pSHIFT => u.shift,
    pMAR => u.mar, pPC => u.pc, pST => u.st, pOUT => u.o, pEM => u_em, pIR => u.ir,
    puPC => u_upc, puM => u.um, pIN => keys, rst => rst, clk => clk, i_req => i_req);

  UC: ENTITY work.EDUMAC8_C PORT MAP (
    pRCy => c.rcy, pRZ => c.rz, pA => c.a, pW => c.w,
    pR0 => c.r0, pR1 => c.r1, pR2 => c.r2, pR3 => c.r3, pSHIFT => c.shift,
    pMAR => c.mar, pPC => c.pc, pST => c.st, pOUT => c.o, pEM => c_em, pIR => c.ir,
    pRT => c_rt, pCT => c_ct, puM => c.um, pIN => keys, rst => rst, clk => clk,
    i_req => i_req);

  stimulus: PROCESS
    FILE trace : text OPEN write_mode IS "trace.txt";
    VARIABLE l : line;

    PROCEDURE record_clock(k : natural) IS
    BEGIN
      write(l, string'("U ") & integer'image(k));
      put_common(l, u);
      put(l, "UPC", u_upc);
      writeline(trace, l);
      write(l, string'("C ") & integer'image(k));
      put_common(l, c);
      put(l, "RT", c_rt);
      writeline(trace, l);
    END PROCEDURE;
  BEGIN
    -- One whole clock in reset, so the memory presents the byte at address 0 before the
    -- first step.
    clk <= '1'; WAIT FOR 5 ns;
    clk <= '0'; WAIT FOR 2 ns;
    rst <= '0'; WAIT FOR 3 ns;
    record_clock(0);
    FOR k IN 1 TO CLOCKS LOOP
      clk <= '1'; WAIT FOR 1 ns;
      IF k = IRQ_AFTER THEN i_req <= '1'; END IF;
      WAIT FOR 4 ns;
      clk <= '0'; WAIT FOR 1 ns;
      i_req <= '0'; WAIT FOR 4 ns;
      record_clock(k);
    END LOOP;
    std.env.finish;
  END PROCESS;
END sim;
