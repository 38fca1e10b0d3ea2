
%  
O77 (Bracket [ left ] 12-7)  
N2 (Korvel, Version 2.05)  
N3 (Created: Thu Jan 1 00:00:00 2026)  
N4 G17   
N5 G55 G90 G98 G21  
N6 T4 M06 (DRILL 6)  
N7 S1592 M03  
N8 G43 H4 M08  
N9 (DRILL ID 2)  
N10 G00 X20.  Y20.   
N11 S1592 M03  
N12 G00 Z25.   
N13 G81 R5.  Z-10.  F146.   
N14 G80  
N15 M09  
N16 M30  
%  
