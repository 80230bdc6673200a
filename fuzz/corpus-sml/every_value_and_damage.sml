S1F13 W
<L [19]
  <F4 [7] 1.5 0.10000000149011612 -0 1.401298464324817e-45 1e+10 -1.2339999675750732 9.999999747378752e-06>
  <F8 [9] 0.1 1e+20 1e-05 1e+15 1e+14 100 -0 -3.141592653589793 1e-04>
  <U8 [2] 18446744073709551615 5>
  <I8 [2] -9223372036854775808 -5>
  <I1 [2] -128 127>
  <I2 [2] -32768 -1>
  <I4 [1] -2147483648>
  <U1 [2] 0 255>
  <U2 [1] 65535>
  <U4 [1] 4294967295>
  <BOOLEAN [2] FALSE TRUE>
  <A [8] "A" 0x22 "B" 0x0A 0xE9 0x7F " C">
  <J [6] "A\~" 0xB1 0xDF 0x0A>
  <B [3] 0x00 0x0F 0xA5>
  <A [0]>
  <U4 [0]>
  <B [0]>
  <L [0]>
  <L [1]
    <L [1]
      <A [4] "deep">
    >
  >
>
.
S6F11 W
<L [0]>
.
S6F11 W
<L [14]
  <B [2] 0x01 0x02>
  <BOOLEAN [1] TRUE>
  <A [2] "AB">
  <J [1] "A">
  <I8 [1] -5>
  <I1 [1] -128>
  <I2 [1] -32768>
  <I4 [1] -2147483648>
  <F8 [1] 1>
  <F4 [1] 1>
  <U8 [1] 5000000000>
  <U1 [1] 255>
  <U2 [1] 65535>
  <U4 [1] 4294967295>
>
.
S6F11 W
<L [2]
  <F4 [4] inf -nan 1.401298464324817e-45 -0>
  <F8 [3] inf -5e-324 1e-09>
>
.
S6F11 W
.
S6F11 W
.
S6F11 W
<L [2]
  <B [3] 0x01 0x02 0x03>
  <A [2] "AB">
>
.
S6F11 W
<L [2]
  <L [2]
    <L [1]
      <L [0]>
    >
    <U1 [1] 1>
  >
  <L [1]
    <U1 [1] 2>
  >
>
.
S6F11 W
.
// damage at offset 10: block 1 of a longer message: body not decoded
S6F11 W
<L [3]
  <U4 [1] 1>
  <U4 [1] 1001>
  <L [1]
    <L [2]
      <U4 [1] 100>
      <L [2]
        <A [5] "Hello">
        <F8 [1] 3.141592653589793>
      >
    >
  >
>
.
S6F11 W
.
// damage at offset 0: header cut short: 5 of 10 bytes
S6F11 W
<L [1]
  <U1 [1] 7>
>
.
// damage at offset 15: a 0x00 byte ends the body: 2 bytes ignored
S6F11 W
<U1 [1] 7>
<U1 [1] 8>
<L [1]
  <U1 [1] 9>
>
.
S6F11 W
<L [2]
  <U1 [1] 7>
  <U4 [1] 1>
>
.
// damage at offset 15: 1 bytes after the last whole element ignored
// damage at offset 15: item cut short: 5 of 8 data bytes
S6F11 W
<L [2]
  <U1 [1] 7>
  <U4 [0]>
>
.
// damage at offset 15: item cut short in its length bytes
S6F11 W
<L [1]
  <U1 [1] 7>
>
.
// damage at offset 12: unknown format code 1 skipped
// damage at offset 15: unknown format code 1 skipped
