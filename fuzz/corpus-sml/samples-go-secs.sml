S1F1 W

.
S1F13 W
<L[2]
  <A[7] "BRX-300">
  <A[5] "1.0.4">
>
.
S1F14
<L[2]
  <B[1] 0x00>
  <L[2]
    <A[7] "BRX-300">
    <A[5] "1.0.4">
  >
>
.
S1F2
<L[2]
  <A[7] "BRX-300">
  <A[5] "1.0.4">
>
.
S1F3 W
<L[3]
  <U4[1] 1001>
  <U4[1] 1002>
  <U4[1] 1003>
>
.
S1F4
<L[14]
  <B[2] 0x01 0xA5>
  <BOOLEAN[2] True False>
  <A[4] "IDLE">
  <J[4] "ABC
">
  <I8[1] -9000000000>
  <I1[1] -5>
  <I2[1] -300>
  <I4[1] -70000>
  <F8[1] -0.25>
  <F4[1] 1.5>
  <U8[1] 123456789>
  <U1[1] 255>
  <U2[1] 65535>
  <U4[1] 4294967295>
>
.
S2F41 W
<L[2]
  <A[5] "START">
  <L[2]
    <L[2]
      <A[5] "LOTID">
      <A[4] "LOT1">
    >
    <L[2]
      <A[4] "PPID">
      <A[7] "RECIPE7">
    >
  >
>
.
S5F1 W
<L[3]
  <B[1] 0x84>
  <U4[1] 1001>
  <A[21] "Chamber pressure high">
>
.
S6F11 W
<L[3]
  <U4[1] 1>
  <U4[1] 100>
  <L[1]
    <L[2]
      <U4[1] 2>
      <L[2]
        <A[4] "LOT1">
        <U2[1] 3>
      >
    >
  >
>
.
S7F3 W
<L[2]
  <A[7] "RECIPE7">
  <B[48] 0x0B 0x30 0x55 0x7A 0x9F 0xC4 0xE9 0x0E 0x33 0x58 0x7D 0xA2 0xC7 0xEC 0x11 0x36 0x5B 0x80 0xA5 0xCA 0xEF 0x14 0x39 0x5E 0x83 0xA8 0xCD 0xF2 0x17 0x3C 0x61 0x86 0xAB 0xD0 0xF5 0x1A 0x3F 0x64 0x89 0xAE 0xD3 0xF8 0x1D 0x42 0x67 0x8C 0xB1 0xD6>
>
.
