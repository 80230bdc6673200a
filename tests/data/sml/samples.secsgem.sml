S1F1 W .
S1F13 W
  <L [2]
    <A "BRX-300">
    <A "1.0.4">
  > .
S1F14
  <L [2]
    <B 0x0>
    <L [2]
      <A "BRX-300">
      <A "1.0.4">
    >
  > .
S1F2
  <L [2]
    <A "BRX-300">
    <A "1.0.4">
  > .
S1F3 W
  <L [3]
    <U4 1001 >
    <U4 1002 >
    <U4 1003 >
  > .
S1F4
  <L [14]
    <B 0x1 0xa5>
    <BOOLEAN True False >
    <A "IDLE">
    <J "ABC" 0xa>
    <I8 -9000000000 >
    <I1 -5 >
    <I2 -300 >
    <I4 -70000 >
    <F8 -0.25 >
    <F4 1.5 >
    <U8 123456789 >
    <U1 255 >
    <U2 65535 >
    <U4 4294967295 >
  > .
S2F41 W
  <L [2]
    <A "START">
    <L [2]
      <L [2]
        <A "LOTID">
        <A "LOT1">
      >
      <L [2]
        <A "PPID">
        <A "RECIPE7">
      >
    >
  > .
S5F1 W
  <L [3]
    <B 0x84>
    <U4 1001 >
    <A "Chamber pressure high">
  > .
S6F11 W
  <L [3]
    <U4 1 >
    <U4 100 >
    <L [1]
      <L [2]
        <U4 2 >
        <L [2]
          <A "LOT1">
          <U2 3 >
        >
      >
    >
  > .
S7F3 W
  <L [2]
    <A "RECIPE7">
    <B 0xb 0x30 0x55 0x7a 0x9f 0xc4 0xe9 0xe 0x33 0x58 0x7d 0xa2 0xc7 0xec 0x11 0x36 0x5b 0x80 0xa5 0xca 0xef 0x14 0x39 0x5e 0x83 0xa8 0xcd 0xf2 0x17 0x3c 0x61 0x86 0xab 0xd0 0xf5 0x1a 0x3f 0x64 0x89 0xae 0xd3 0xf8 0x1d 0x42 0x67 0x8c 0xb1 0xd6>
  > .
