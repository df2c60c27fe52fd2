; arith.asm  带进位的 16 位加法与标志位
;
; 计算 X + Y (16 位数, 低字节在前), 结果存入 SUM, 再检查结果。
;   X = 12F0H, Y = 0520H, X + Y = 1810H
; 要点:
;   ADD  只加两个字节, 把进位写入标志 C;
;   ADDC 再加上 C, 所以低字节的进位进入高字节;
;   SUB  比较两个数: 相等时结果为 0, 标志 Z = 1, JZ 跳转。
;   MOV 不改变标志, 所以 JZ 看到的仍是 SUB 的结果。
; 运行后: 存贮器 44H = 10H, 45H = 18H, OUT = 0AAH (正确) 或 0EEH (错误)。

X       EQU     40H             ; X 的低字节地址, X+1 为高字节
Y       EQU     42H
SUM     EQU     44H

        ORG     0
START:  MOV     A, X            ; A <- 0F0H
        ADD     A, Y            ; A <- 0F0H + 20H = 10H, 进位 C = 1
        MOV     SUM, A          ; 保存低字节
        MOV     A, X+1          ; A <- 12H
        ADDC    A, Y+1          ; A <- 12H + 05H + C = 18H
        MOV     SUM+1, A        ; 保存高字节
        SUB     A, #18H         ; 与期望的高字节比较
        JZ      RIGHT
        MOV     A, #0EEH        ; 结果不对
        OUT
        JMP     STOP
RIGHT:  MOV     A, #0AAH        ; 结果正确
        OUT
STOP:   JMP     STOP            ; 停在这里

        ORG     X
        DB      0F0H, 12H       ; X
        DB      20H, 05H        ; Y
        DB      0, 0            ; SUM
        END
