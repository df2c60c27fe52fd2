; call.asm  子程序调用 CALL 与返回 RET
;
; DOUBLE 子程序把 A 乘 2 (左移一位)。
; CALL 把返回地址存入堆栈寄存器 ST, RET 从 ST 取回 PC。
; 注意: ST 只有一级, 子程序里不能再 CALL 别的子程序。
; 运行后: R3 = 0EH, OUT = 1CH。

        ORG     0
        MOV     A, #7
        CALL    DOUBLE          ; A = 14 = 0EH
        MOV     R3, A
        CALL    DOUBLE          ; A = 28 = 1CH
        OUT
HALT:   JMP     HALT

DOUBLE: RL      A               ; 左移一位, 低位补 0
        RET
        END
