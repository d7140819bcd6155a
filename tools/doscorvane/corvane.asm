; DOS stand-in for the emulator program, for the tests that run it through DOSBox. It plays no game:
; as a DOS program would, it records its command tail, whether the tail's first word (the ROM set)
; names a file or directory it can reach, bytes 18 and 19 of CORINIT.DAT and the BIOS files of its
; current directory into DOSRUN.LOG there (created first thing), writes the snapshots
; CORVANE.CTL asks for (its first digit) as SHOTS\SHOTn.BMP with the lowest free numbers, and exits,
; or, when a "w" comes before that digit, runs until it is killed, as a game being played would.
; A real-mode MZ executable with no relocations, assembled with: nasm -f bin -o corvane.exe corvane.asm

bits 16
cpu 8086

section header start=0
header_start:
    db 'MZ'
    dw file_size % 512              ; bytes in the last 512-byte page
    dw (file_size + 511) / 512      ; pages in the file
    dw 0                            ; relocations
    dw 2                            ; header size in paragraphs
    dw 0x1000                       ; extra paragraphs needed: 64 KiB for data and stack
    dw 0xFFFF                       ; extra paragraphs wanted
    dw 0                            ; SS relative to the load segment
    dw 0xFFFE                       ; SP
    dw 0                            ; checksum
    dw start                        ; IP
    dw 0                            ; CS relative to the load segment
    dw 0x1C                         ; relocation table offset
    dw 0                            ; overlay
    times 32 - ($ - header_start) db 0

section image follows=header vstart=0
start:
    mov ax, cs
    mov ds, ax                      ; ES still holds the PSP
    call copy_tail
    mov ax, cs
    mov es, ax
    mov ah, 0x1A                    ; our own disk transfer area
    mov dx, dta
    int 0x21

    mov ah, 0x3C                    ; create the log
    xor cx, cx
    mov dx, log_name
    int 0x21
    jc quit
    mov [log], ax

    mov dx, tail_label
    call write_z
    mov dx, tail
    mov cx, [tail_length]
    call write_n
    call write_crlf
    call record_rom_set
    call record_init_bytes
    mov dx, rom_pattern
    call record_bios
    mov dx, gdb_pattern
    call record_bios
    call write_shots

    mov ah, 0x3E
    mov bx, [log]
    int 0x21
    cmp byte [play_on], 0
    je quit
    sti
.play:
    hlt
    jmp .play
quit:
    mov ax, 0x4C00
    int 0x21

; The command tail from PSP:80h, before the DTA (which starts there) is moved.
copy_tail:
    xor ch, ch
    mov cl, [es:0x80]
    mov [tail_length], cx
    mov si, 0x81
    mov di, tail
.next:
    jcxz .done
    mov al, [es:si]
    mov [di], al
    inc si
    inc di
    dec cx
    jmp .next
.done:
    ret

; "romset=found" when the first word of the tail names something DOS can see, else "romset=missing".
record_rom_set:
    mov si, tail
    mov cx, [tail_length]
.skip_blanks:
    jcxz .test
    cmp byte [si], ' '
    jne .copy
    inc si
    dec cx
    jmp .skip_blanks
.copy:
    mov di, rom_set
.next:
    jcxz .test
    mov al, [si]
    cmp al, ' '
    je .test
    mov [di], al
    inc si
    inc di
    dec cx
    cmp di, rom_set + 127
    jb .next
.test:
    mov dx, romset_found
    mov ax, 0x4300
    push dx
    mov dx, rom_set
    int 0x21
    pop dx
    jnc .write
    mov dx, romset_missing
.write:
    call write_z
    jmp write_crlf

record_init_bytes:
    mov word [init_bytes], '--'     ; "--" stands for a byte that could not be read
    mov word [init_bytes + 2], '--'
    mov ax, 0x3D00
    mov dx, init_name
    int 0x21
    jc .write
    mov bx, ax
    mov ax, 0x4200                  ; seek to offset 18
    xor cx, cx
    mov dx, 18
    int 0x21
    mov ah, 0x3F
    mov cx, 2
    mov dx, buffer
    int 0x21
    jc .close
    mov cx, ax
    mov si, buffer
    mov di, init_bytes
.hex:
    jcxz .close
    mov al, [si]
    call hex_byte
    inc si
    add di, 2
    dec cx
    jmp .hex
.close:
    mov ah, 0x3E
    int 0x21
.write:
    mov dx, byte18_label
    call write_z
    mov dx, init_bytes
    mov cx, 2
    call write_n
    mov dx, byte19_label
    call write_z
    mov dx, init_bytes + 2
    mov cx, 2
    call write_n
    jmp write_crlf

; AL as two upper-case hexadecimal digits at DI.
hex_byte:
    push ax
    mov ah, al
    shr al, 1
    shr al, 1
    shr al, 1
    shr al, 1
    call hex_digit
    mov [di], al
    mov al, ah
    and al, 0x0F
    call hex_digit
    mov [di + 1], al
    pop ax
    ret
hex_digit:
    add al, '0'
    cmp al, '9'
    jbe .done
    add al, 'A' - '0' - 10
.done:
    ret

; One "bios=NAME" line per file matching the pattern at DX, of every attribute.
record_bios:
    mov ah, 0x4E
    mov cx, 0x27
    int 0x21
.next:
    jc .done
    mov dx, bios_label
    call write_z
    mov dx, dta + 0x1E
    call write_z
    call write_crlf
    mov ah, 0x4F
    int 0x21
    jmp .next
.done:
    ret

; The number of snapshots is the first digit of CORVANE.CTL (none without the file).
write_shots:
    mov ax, 0x3D00
    mov dx, control_name
    int 0x21
    jc .done
    mov bx, ax
    mov ah, 0x3F
    mov cx, 64
    mov dx, buffer
    int 0x21
    jc .close_control
    mov cx, ax
    mov si, buffer
.find_digit:
    jcxz .close_control
    mov al, [si]
    inc si
    dec cx
    cmp al, 'w'
    jne .not_play
    mov byte [play_on], 1
.not_play:
    cmp al, '0'
    jb .find_digit
    cmp al, '9'
    ja .find_digit
    sub al, '0'
    mov [shots_left], al
.close_control:
    mov ah, 0x3E
    int 0x21
    mov ah, 0x39                    ; SHOTS may exist already
    mov dx, shots_dir
    int 0x21
    mov byte [number], 0
.next:
    cmp byte [shots_left], 0
    je .done
    inc byte [number]
    cmp byte [number], 99
    ja .done
    call make_shot_name
    mov ax, 0x4300                  ; a number in use is passed over
    mov dx, shot_path
    int 0x21
    jnc .next
    call write_bitmap
    dec byte [shots_left]
    jmp .next
.done:
    ret

; SHOTS\SHOTn.BMP for n = [number], 1 to 99.
make_shot_name:
    mov di, shot_number
    mov al, [number]
    xor ah, ah
    mov bl, 10
    div bl
    or al, al
    jz .units
    add al, '0'
    mov [di], al
    inc di
.units:
    add ah, '0'
    mov [di], ah
    inc di
    mov si, bmp_extension
.copy:
    mov al, [si]
    mov [di], al
    inc si
    inc di
    or al, al
    jnz .copy
    ret

write_bitmap:
    mov ah, 0x3C
    xor cx, cx
    mov dx, shot_path
    int 0x21
    jc .done
    mov bx, ax
    mov ah, 0x40
    mov cx, bitmap_end - bitmap
    mov dx, bitmap
    int 0x21
    mov ah, 0x3E
    int 0x21
    mov dx, shot_label
    call write_z
    mov dx, shot_path + 6           ; the name without "SHOTS\"
    call write_z
    call write_crlf
.done:
    ret

; Writes CX bytes at DX to the log.
write_n:
    mov ah, 0x40
    mov bx, [log]
    int 0x21
    ret

; Writes the zero-ended text at DX to the log.
write_z:
    mov si, dx
    xor cx, cx
.count:
    cmp byte [si], 0
    je write_n
    inc si
    inc cx
    jmp .count

write_crlf:
    mov dx, crlf
    mov cx, 2
    jmp write_n

log_name        db 'DOSRUN.LOG', 0
init_name       db 'CORINIT.DAT', 0
control_name    db 'CORVANE.CTL', 0
rom_pattern     db '*.ROM', 0
gdb_pattern     db '*.GDB', 0
shots_dir       db 'SHOTS', 0
tail_label      db 'tail=', 0
byte18_label    db 'byte18=', 0
byte19_label    db 13, 10, 'byte19=', 0
bios_label      db 'bios=', 0
shot_label      db 'shot=', 0
romset_found    db 'romset=found', 0
romset_missing  db 'romset=missing', 0
crlf            db 13, 10
bmp_extension   db '.BMP', 0
shot_path       db 'SHOTS\SHOT'
shot_number     db 0, 0, 0, 0, 0, 0, 0

; A 1x1 24-bit bitmap: one orange pixel.
bitmap:
    db 'BM'
    dd bitmap_end - bitmap, 0, 54
    dd 40, 1, 1
    dw 1, 24
    dd 0, 4, 2835, 2835, 0, 0
    db 0x20, 0x80, 0xF0, 0
bitmap_end:

log             dw 0
tail_length     dw 0
shots_left      db 0
play_on         db 0
number          db 0
init_bytes      db '----'
buffer          times 64 db 0
dta             times 128 db 0
tail            times 128 db 0
rom_set         times 128 db 0

file_size equ 32 + ($ - $$)
