from fractions import Fraction
from huffman_codes import T
for t,(c,l) in T.items():
    n=len(c); assert len(l)==n,(t,len(c),len(l))
    k=sum(Fraction(1,2**x) for x in l)
    bad=[i for i in range(n) if c[i]>=2**l[i]]
    codes=[format(c[i],'0%db'%l[i]) for i in range(n)]
    pref=[(i,j) for i in range(n) for j in range(n) if i!=j and codes[j].startswith(codes[i])]
    print(t,n,'kraft',k,'toolong',bad,'prefix',pref[:5])
