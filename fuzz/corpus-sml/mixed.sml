/* comment */ Name:"S1F1" W // c
<L [2] <A "a" 0x0A 'b'> <F4 +Inf -nan 1e-45>>
.
S2F2 <B 0b1 0xFF 7>