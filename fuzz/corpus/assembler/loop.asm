; loop.asm  用 @R0 遍历存贮器中的一张表
;
; 把 TABLE 中的 5 个字节相加, 和送到输出端口 OUT。
;   R0 = 指针, 指向下一个要加的字节 (寄存器间接寻址 @R0)
;   R1 = 计数器, 还剩几个字节
;   R2 = 累加和
; 本指令系统没有加 1/减 1 指令, 所以用 A 做中间寄存器:
;   MOV A,R0 / ADD A,#1 / MOV R0,A
; 运行后: R2 = OUT = 0FH (1+2+3+4+5)。

        ORG     0
        MOV     R0, #TABLE      ; 指针指向表首
        MOV     R1, #5          ; 5 个字节
        MOV     R2, #0          ; 和清 0
NEXT:   MOV     A, R2
        ADD     A, @R0          ; 和 + 表中当前字节
        MOV     R2, A
        MOV     A, R0           ; 指针加 1
        ADD     A, #1
        MOV     R0, A
        MOV     A, R1           ; 计数减 1
        SUB     A, #1           ; 减到 0 时 Z = 1
        MOV     R1, A
        JZ      DONE
        JMP     NEXT
DONE:   MOV     A, R2
        OUT                     ; 输出和
HALT:   JMP     HALT

        ORG     30H
TABLE:  DB      1, 2, 3, 4, 5
        END
