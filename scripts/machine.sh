#!/usr/bin/env bash
# Sourced: finds out once which Wine suites this machine can run.
#
#   kavrel_detect_machine   sets KAVREL_RUNS_32BIT (1 or 0) and, where it is
#                           0, KAVREL_NO_32BIT_WHY (one line); the result is
#                           exported, so nested scripts don't ask again
#
# Some kernels refuse 32-bit x86 code altogether: every 32-bit program, the
# 32-bit Wine loader included, ends with "Exec format error". Where that is so
# only the 64-bit tree runs; the 32-bit tree is still built.
# KAVREL_64BIT_ONLY=1 takes that path on any machine.
kavrel_detect_machine() {
    if [ -n "${KAVREL_RUNS_32BIT:-}" ]; then
        return 0
    fi
    export KAVREL_RUNS_32BIT=1 KAVREL_NO_32BIT_WHY=""
    if [ "${KAVREL_64BIT_ONLY:-0}" = 1 ]; then
        KAVREL_RUNS_32BIT=0
        KAVREL_NO_32BIT_WHY="KAVREL_64BIT_ONLY=1 forces the 64-bit-only path"
        return 0
    fi
    # A minimal 32-bit program that only exits: assembled and linked by the
    # binutils that come with g++, so the answer needs no 32-bit package.
    local dir probe status
    dir="$(mktemp -d)"
    probe="$dir/probe32"
    printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/probe32.s"
    if ! as --32 -o "$dir/probe32.o" "$dir/probe32.s" 2>/dev/null ||
        ! ld -m elf_i386 -o "$probe" "$dir/probe32.o" 2>/dev/null; then
        rm -rf "$dir"
        KAVREL_RUNS_32BIT=0
        KAVREL_NO_32BIT_WHY="a 32-bit test program could not be built (as --32, ld -m elf_i386)"
        return 0
    fi
    status=0
    "$probe" 2>/dev/null || status=$?
    rm -rf "$dir"
    if [ "$status" -ne 0 ]; then
        KAVREL_RUNS_32BIT=0
        KAVREL_NO_32BIT_WHY="this machine does not execute 32-bit x86 code (a minimal 32-bit program ended with status $status, Exec format error)"
    fi
}
