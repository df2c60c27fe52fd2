; interrupt.asm  中断服务程序
;
; 主程序不停地读输入端口。每来一次中断请求 (工具栏 "中断输入"),
; 实验机在取下一条指令时进入中断: 硬件执行 _INT_, 把 PC 存入 ST,
; 再从中断地址 IA (复位后为 0E0H) 取指。
; 服务程序把中断次数加 1, 送到 OUT, 最后用 RETI 返回并结束中断。
; 中断两次后: R0 = OUT = 2。

        ORG     0
        MOV     R0, #0          ; 中断次数清 0
MAIN:   IN                      ; 主程序: 读输入
        JMP     MAIN

        ORG     0E0H            ; 中断服务程序入口 = IA
ISR:    MOV     A, R0
        ADD     A, #1
        MOV     R0, A
        OUT                     ; 显示中断次数
        RETI                    ; 返回主程序, 清除中断请求
        END
